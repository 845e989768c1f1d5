#include "platform/folder_picker.hpp"

#include "platform/system_function.hpp"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <optional>

namespace platform {
namespace {

// The wide functions: the ANSI ones hand back the folder's name in the code page, with a
// best-fit letter for each one it lacks, and nothing at all for a path beyond MAX_PATH.
SystemFunction<decltype(&::SHBrowseForFolderW)> browse_for_folder_call(L"shell32",
                                                                       "SHBrowseForFolderW");
// The long form of the path query (Windows Vista and later), which SHGetPathFromIDListW cuts
// at MAX_PATH.
SystemFunction<decltype(&::SHGetPathFromIDListEx)> path_from_item_call(L"shell32",
                                                                       "SHGetPathFromIDListEx");
SystemFunction<decltype(&::CoTaskMemFree)> free_task_memory_call(L"ole32.dll", "CoTaskMemFree");

// The longest path that Windows' wide file functions take.
constexpr DWORD kLongestPath = 32768;

struct ItemListFree {
    void operator()(PIDLIST_ABSOLUTE items) const noexcept { free_task_memory_call(items); }
};
using ItemList = std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, ItemListFree>;

// The item's file-system path, if it has one.
std::optional<std::wstring> path_of(PCIDLIST_ABSOLUTE item) {
    std::wstring path(kLongestPath, L'\0');
    if (!path_from_item_call(item, path.data(), kLongestPath, GPFIDL_DEFAULT)) {
        return std::nullopt;
    }
    path.resize(path.find(L'\0'));
    return path;
}

bool has_path(PCIDLIST_ABSOLUTE item) noexcept {
    try {
        return item && path_of(item);
    } catch (...) {
        return false;  // the user can still cancel
    }
}

// BIF_RETURNONLYFSDIRS greys only what is no file-system folder and leaves OK on for a bare
// \\server item, which has no path; the callback's answer comes after that check. It runs
// inside the modal dialog, which no exception may cross.
int CALLBACK on_picker_event(HWND picker, UINT event, LPARAM item, LPARAM) noexcept {
    if (event == BFFM_SELCHANGED) {
        SendMessageW(picker, BFFM_ENABLEOK, 0,
                     has_path(reinterpret_cast<PCIDLIST_ABSOLUTE>(item)) ? TRUE : FALSE);
    }
    return 0;
}

}  // namespace

FolderChoice browse_for_folder(NativeWindow owner, std::wstring_view instruction) {
    // The free function is bound before the dialog opens, so that a missing entry cannot
    // strand an item list that nothing is able to free.
    free_task_memory_call(nullptr);

    const std::wstring title(instruction);
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.lpszTitle = title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = on_picker_event;
    const ItemList chosen(browse_for_folder_call(&request));
    return chosen ? FolderChoice{true, path_of(chosen.get())} : FolderChoice{};
}

}  // namespace platform
