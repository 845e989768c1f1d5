#include "platform/folder_picker.hpp"

#include "platform/ansi_text.hpp"
#include "platform/system_function.hpp"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <memory>

namespace platform {
namespace {

SystemFunction<decltype(&::SHBrowseForFolderA)> browse_for_folder_call(L"shell32",
                                                                       "SHBrowseForFolder");
SystemFunction<decltype(&::SHGetPathFromIDListA)> path_from_item_call(L"shell32",
                                                                      "SHGetPathFromIDList");
SystemFunction<decltype(&::CoTaskMemFree)> free_task_memory_call(L"ole32.dll", "CoTaskMemFree");

struct ItemListFree {
    void operator()(PIDLIST_ABSOLUTE items) const noexcept { free_task_memory_call(items); }
};
using ItemList = std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, ItemListFree>;

}  // namespace

std::wstring browse_for_folder(NativeWindow owner, std::wstring_view instruction) {
    // The free function is bound before the dialog opens, so that a missing entry cannot
    // strand an item list that nothing is able to free.
    free_task_memory_call(nullptr);

    std::string title = to_ansi(instruction);
    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.lpszTitle = title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemList chosen(browse_for_folder_call(&request));
    if (!chosen) {
        return {};
    }
    std::array<char, MAX_PATH> path{};
    path_from_item_call(chosen.get(), path.data());
    return from_ansi(std::string_view(path.data()));
}

}  // namespace platform
