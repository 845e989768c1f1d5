#include "platform/files.hpp"

#include "platform/decimal_text.hpp"
#include "platform/failure.hpp"
#include "platform/unique_handle.hpp"

#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {
namespace {

constexpr wchar_t kCannotOpen[] = L"Could not open the file";
constexpr wchar_t kCannotRead[] = L"Could not read the file";
constexpr wchar_t kCannotCreateTemporary[] = L"Could not create a new file in the folder of";
constexpr wchar_t kCannotWrite[] = L"Could not write the new content of";
constexpr wchar_t kCannotReplace[] = L"Could not replace the content of";
constexpr wchar_t kReadOnly[] = L"The file is read-only and was left as it is";
constexpr wchar_t kEntriesWouldBeLost[] =
    L"The folder does not let the program give a new file the access entries set on this file "
    L"itself, which would be lost; the file was left as it is";

// The file is read in pieces of this size, and what stands in place of each is written
// while the next is read and rewritten. Pieces this small keep the buffers in the
// processor's cache and let even a small file be written while it is rewritten.
constexpr DWORD kChunkBytes = 1 << 18;

// A virus scanner, the search indexer or a sync client often opens a file that has just
// been closed, for a few milliseconds to a second and without sharing its deletion. A step
// refused meanwhile is tried again, with growing pauses, for about two seconds in all; its
// last error stays the thread's last error.
template <typename Step>
bool retried_while_in_use(const Step& step) {
    for (DWORD waited = 0, pause = 10;; waited += pause, pause = std::min<DWORD>(pause * 2, 250)) {
        if (step()) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || waited >= 2000) {
            return false;
        }
        Sleep(pause);
    }
}

DWORD refused_at_create = 0;  // see refuse_at_create_for_tests

// Creates a file that must not exist yet, shared with no other process while it is open.
HANDLE create_new(const std::wstring& path, DWORD access) {
    if (access & refused_at_create) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path.c_str(), access, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

struct LocalMemoryFreer {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};

// The template's access list, which the new file is to take over. Its owner is not taken
// over: the new file is the user's, as any file the user saves.
class AccessList {
  public:
    AccessList(HANDLE file, const std::wstring& path) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        const DWORD error = GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                            nullptr, nullptr, &list_, nullptr, &descriptor);
        descriptor_.reset(descriptor);
        if (error != ERROR_SUCCESS) {
            throw Failure(kCannotRead, path, error);
        }
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        protected_ = (control & SE_DACL_PROTECTED) != 0;
    }

    [[nodiscard]] bool comes_by_inheritance() const {
        return list_comes_by_inheritance(descriptor_.get());
    }

    // SetSecurityInfo is the call documented for files; the list stays protected from the
    // folder's entries, or open to them, as the template's was.
    void give_to(HANDLE file, const std::wstring& path) const {
        const DWORD error = SetSecurityInfo(
            file, SE_FILE_OBJECT,
            DACL_SECURITY_INFORMATION | (protected_ ? PROTECTED_DACL_SECURITY_INFORMATION
                                                    : UNPROTECTED_DACL_SECURITY_INFORMATION),
            nullptr, nullptr, list_, nullptr);
        if (error != ERROR_SUCCESS) {
            throw Failure(kCannotWrite, path, error);
        }
    }

  private:
    std::unique_ptr<void, LocalMemoryFreer> descriptor_;
    PACL list_ = nullptr;  // inside descriptor_
    bool protected_ = false;
};

// Gives the new file the template's hidden, system and unindexed attributes (read-only is
// refused before) and the archive bit that marks new content for the next backup.
void take_over_attributes(HANDLE file, DWORD attributes, const std::wstring& path) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes =
        FILE_ATTRIBUTE_ARCHIVE | (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (!SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic))) {
        fail_with_last_error(kCannotWrite, path);
    }
}

// A new file beside the target, which takes the target's place through its own handle or,
// if it does not, is deleted through it. The handle holds DELETE, so neither step depends
// on rights that the access list given to the file might withhold.
class NewFile {
  public:
    // The creator of a new file is granted the rights it asks for; where WRITE_DAC is
    // refused all the same (a share that grants only Change), the file is made without it.
    NewFile(const std::wstring& target, const std::wstring& shown) {
        handle_ = create_beside(target, kAccess | WRITE_DAC);
        if (!handle_ && GetLastError() == ERROR_ACCESS_DENIED) {
            handle_ = create_beside(target, kAccess);
            may_set_list_ = false;
        }
        if (!handle_) {
            fail_with_last_error(kCannotCreateTemporary, shown);
        }
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    // The mark is set through the file's own handle, which holds DELETE and which no other
    // program shares: nothing another program does can refuse it, so it is not tried again,
    // and the file goes when the last handle to it closes.
    ~NewFile() {
        if (!replaced_) {
            FILE_DISPOSITION_INFO deletion{TRUE};
            SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &deletion,
                                       sizeof(deletion));
        }
    }

    [[nodiscard]] HANDLE handle() const noexcept { return handle_.get(); }
    [[nodiscard]] bool may_set_list() const noexcept { return may_set_list_; }

    void replace(const std::wstring& target, const std::wstring& shown) {
        // FileName is the target's absolute path, ended by a null character (which
        // FILE_RENAME_INFO's own FileName[1] makes room for) that FileNameLength leaves out.
        constexpr std::size_t kNameAt = offsetof(FILE_RENAME_INFO, FileName);
        FILE_RENAME_INFO head{};
        head.ReplaceIfExists = TRUE;
        head.FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
        std::vector<std::byte> rename(sizeof(head) + head.FileNameLength);
        std::memcpy(rename.data(), &head, kNameAt);
        std::memcpy(rename.data() + kNameAt, target.c_str(), head.FileNameLength + sizeof(wchar_t));
        if (!retried_while_in_use([&] {
                return SetFileInformationByHandle(handle_.get(), FileRenameInfo, rename.data(),
                                                  static_cast<DWORD>(rename.size())) != FALSE;
            })) {
            fail_with_last_error(kCannotReplace, shown);
        }
        replaced_ = true;
    }

  private:
    static constexpr DWORD kAccess = GENERIC_WRITE | DELETE;

    // CREATE_NEW fails rather than reuse a name some other process has just taken.
    static UniqueHandle create_beside(const std::wstring& target, DWORD access) {
        const std::wstring prefix = target + L"." + decimal_text(GetCurrentProcessId()) + L"-";
        UniqueHandle file;
        for (int attempt = 0; !file && attempt < 100; ++attempt) {
            file = adopt_handle(create_new(
                prefix + decimal_text(static_cast<std::uint64_t>(attempt)) + L".tmp", access));
            if (!file && GetLastError() != ERROR_FILE_EXISTS) {
                break;
            }
        }
        return file;
    }

    UniqueHandle handle_;
    bool may_set_list_ = true;
    bool replaced_ = false;
};

// Writes every byte or returns the system's error code; 0 means all were written.
DWORD write_all(HANDLE file, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return GetLastError();
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

// Writes one piece at a time on a thread of the system's pool, so that the next piece is
// read and rewritten while the last one is being written.
class BackgroundWriter {
  public:
    BackgroundWriter(HANDLE file, const std::wstring& target)
        : file_(file), target_(target), work_(CreateThreadpoolWork(&write_piece, this, nullptr)) {
        if (!work_) {
            fail_with_last_error(kCannotWrite, target);
        }
    }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    ~BackgroundWriter() {
        WaitForThreadpoolWorkCallbacks(work_, FALSE);
        CloseThreadpoolWork(work_);
    }

    // Starts writing bytes once the piece before is written. They must stay as they are
    // until the next call.
    void write(std::string_view bytes) {
        finish();
        piece_ = bytes;
        SubmitThreadpoolWork(work_);
    }

    // Waits until every piece is written, and reports a write that failed.
    void finish() {
        WaitForThreadpoolWorkCallbacks(work_, FALSE);
        if (error_ != ERROR_SUCCESS) {
            throw Failure(kCannotWrite, target_, error_);
        }
    }

  private:
    static void CALLBACK write_piece(PTP_CALLBACK_INSTANCE, void* context, PTP_WORK) noexcept {
        auto& writer = *static_cast<BackgroundWriter*>(context);
        writer.error_ = write_all(writer.file_, writer.piece_);
    }

    HANDLE file_;
    const std::wstring& target_;
    PTP_WORK work_;
    std::string_view piece_;
    DWORD error_ = ERROR_SUCCESS;
};

}  // namespace

std::wstring system_folder() {
    std::vector<wchar_t> folder(MAX_PATH);
    for (;;) {
        const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0) {
            fail_with_last_error(L"Could not find the system folder", L"");
        }
        if (length < folder.size()) {
            return std::wstring(folder.data(), length);
        }
        folder.resize(length);  // the size it needs, its terminating null included
    }
}

std::wstring full_path(std::wstring_view name) {
    const std::wstring relative(name);
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameW(relative.c_str(), static_cast<DWORD>(buffer.size()),
                                              buffer.data(), nullptr);
        if (length == 0) {
            fail_with_last_error(kCannotOpen, relative);
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(length);
    }
}

std::wstring extended_length_path(std::wstring_view full_path) {
    if (full_path.starts_with(LR"(\\?\)") || full_path.starts_with(LR"(\\.\)")) {
        return std::wstring(full_path);
    }
    if (full_path.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + std::wstring(full_path.substr(2));
    }
    return LR"(\\?\)" + std::wstring(full_path);
}

bool list_comes_by_inheritance(const void* security_descriptor) {
    const auto descriptor = const_cast<void*>(security_descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL list = nullptr;
    if (!GetSecurityDescriptorControl(descriptor, &control, &revision) ||
        (control & SE_DACL_PROTECTED) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || !present || !list ||
        list->AceCount == 0) {
        return false;
    }
    for (DWORD index = 0; index < list->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(list, index, &entry) ||
            !(static_cast<const ACE_HEADER*>(entry)->AceFlags & INHERITED_ACE)) {
            return false;
        }
    }
    return true;
}

void refuse_at_create_for_tests(std::uint32_t rights) noexcept {
    refused_at_create = rights;
}

void rewrite_file(const std::wstring& path, const Rewrite& rewrite) {
    const std::wstring file = extended_length_path(path);
    UniqueHandle original =
        adopt_handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!original) {
        fail_with_last_error(kCannotOpen, path);
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(original.get(), &information)) {
        fail_with_last_error(kCannotRead, path);
    }
    // A rename replaces a read-only file under Wine although Windows refuses it; refusing
    // here gives both the same answer.
    if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        throw Failure(kReadOnly, path, ERROR_ACCESS_DENIED);
    }
    const AccessList list(original.get(), path);

    NewFile replacement(file, path);
    // Without WRITE_DAC the new file has only the folder's inherited entries: enough where
    // the template had nothing else.
    if (!replacement.may_set_list() && !list.comes_by_inheritance()) {
        throw Failure(kEntriesWouldBeLost, path, ERROR_ACCESS_DENIED);
    }
    std::string piece(kChunkBytes, '\0');
    std::array<std::string, 2> out;  // one is written while the other is filled
    BackgroundWriter writer(replacement.handle(), path);
    for (DWORD read = kChunkBytes, turn = 0; read != 0; turn ^= 1) {
        if (!ReadFile(original.get(), piece.data(), kChunkBytes, &read, nullptr)) {
            fail_with_last_error(kCannotRead, path);
        }
        rewrite(std::string_view(piece.data(), read), out[turn]);
        writer.write(out[turn]);
    }
    writer.finish();
    if (!FlushFileBuffers(replacement.handle())) {
        fail_with_last_error(kCannotWrite, path);
    }
    take_over_attributes(replacement.handle(), information.dwFileAttributes, path);
    if (replacement.may_set_list()) {
        list.give_to(replacement.handle(), path);
    }
    original.reset();  // the rename needs the template free
    replacement.replace(file, path);
}

}  // namespace platform
