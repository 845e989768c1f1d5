#include "platform/folder_picker.hpp"

#include "platform/failure.hpp"
#include "platform/system_function.hpp"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace platform {
namespace {

// The wide functions: the ANSI ones hand back the folder's name in the code page, with a
// best-fit letter for each one it lacks, and nothing at all for a path beyond MAX_PATH.
SystemFunction<decltype(&::SHBrowseForFolderW)> browse_for_folder_call(L"shell32",
                                                                       "SHBrowseForFolderW");
SystemFunction<decltype(&::SHGetPathFromIDListEx)> long_path_from_item_call(
    L"shell32", "SHGetPathFromIDListEx");
SystemFunction<decltype(&::SHGetPathFromIDListW)> path_from_item_call(L"shell32",
                                                                      "SHGetPathFromIDListW");
SystemFunction<decltype(&::CoTaskMemFree)> free_task_memory_call(L"ole32.dll", "CoTaskMemFree");

// The longest path that Windows' wide file functions take.
constexpr DWORD kLongestPath = 32768;

struct ItemListFree {
    void operator()(PIDLIST_ABSOLUTE items) const noexcept { free_task_memory_call(items); }
};
using ItemList = std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, ItemListFree>;

// The folder's file-system path; Windows 7 without the long form reads up to MAX_PATH.
std::wstring path_of(PCIDLIST_ABSOLUTE folder) {
    std::wstring path(kLongestPath, L'\0');
    const auto long_form = long_path_from_item_call.optional();
    const BOOL found = long_form ? long_form(folder, path.data(), kLongestPath, GPFIDL_DEFAULT)
                                 : path_from_item_call(folder, path.data());
    if (!found) {
        fail_with_last_error(L"Could not read the path of the chosen folder", L"");
    }
    path.resize(path.find(L'\0'));
    return path;
}

}  // namespace

std::wstring browse_for_folder(NativeWindow owner, std::wstring_view instruction) {
    // The free function is bound before the dialog opens, so that a missing entry cannot
    // strand an item list that nothing is able to free.
    free_task_memory_call(nullptr);

    const std::wstring title(instruction);
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.lpszTitle = title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList chosen(browse_for_folder_call(&request));
    return chosen ? path_of(chosen.get()) : std::wstring();
}

}  // namespace platform
