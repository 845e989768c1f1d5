#include "platform/files.hpp"

#include "platform/decimal_text.hpp"
#include "platform/failure.hpp"
#include "platform/unique_handle.hpp"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

constexpr wchar_t kCannotOpen[] = L"Could not open the file";
constexpr wchar_t kCannotRead[] = L"Could not read the file";
constexpr wchar_t kCannotCreateTemporary[] = L"Could not create a new file in the folder of";
constexpr wchar_t kCannotWrite[] = L"Could not write the new content of";
constexpr wchar_t kCannotReplace[] = L"Could not replace the content of";
constexpr wchar_t kReadOnly[] = L"The file is read-only and was left as it is";

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

constexpr SECURITY_INFORMATION kProtection = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The file's owner and access list, in the self-relative form the system hands out.
std::vector<std::byte> protection_of(HANDLE file, const std::wstring& path) {
    DWORD size = 0;
    GetKernelObjectSecurity(file, kProtection, nullptr, 0, &size);
    std::vector<std::byte> descriptor(size);
    if (!GetKernelObjectSecurity(file, kProtection, descriptor.data(), size, &size)) {
        fail_with_last_error(kCannotRead, path);
    }
    return descriptor;
}

// Gives the new file what the template had, through the new file's handle, before it takes
// the template's place: hidden, system and unindexed as they were (read-only is refused
// before), the archive bit that marks new content for the next backup, and the owner and
// access list. A rename alone would leave the script the folder's inherited permissions;
// like ReplaceFileW, the owner is kept only where this process may set it (another owner
// than itself takes a privilege).
void take_over(HANDLE file, DWORD attributes, std::vector<std::byte>& protection,
               const std::wstring& path) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes =
        FILE_ATTRIBUTE_ARCHIVE | (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (!SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic))) {
        fail_with_last_error(kCannotWrite, path);
    }
    if (SetKernelObjectSecurity(file, kProtection, protection.data())) {
        return;
    }
    if (GetLastError() != ERROR_INVALID_OWNER ||
        !SetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, protection.data())) {
        fail_with_last_error(kCannotWrite, path);
    }
}

// A new file beside the target, deleted again unless it has been committed.
class SiblingFile {
  public:
    explicit SiblingFile(const std::wstring& target) {
        const std::wstring prefix = target + L"." + decimal_text(GetCurrentProcessId()) + L"-";
        // CREATE_NEW fails rather than reuse a name some other process has just taken. The
        // creator of a new file is granted the rights it asks for, here those to give it the
        // template's protection; where they are refused (an SMB share that grants only
        // Change), Go fails with the template as it was, as ReplaceFileW would.
        for (int attempt = 0; !handle_ && attempt < 100; ++attempt) {
            path_ = prefix + decimal_text(static_cast<std::uint64_t>(attempt)) + L".tmp";
            handle_ =
                adopt_handle(CreateFileW(path_.c_str(), GENERIC_WRITE | WRITE_DAC | WRITE_OWNER, 0,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!handle_ && GetLastError() != ERROR_FILE_EXISTS) {
                break;
            }
        }
        if (!handle_) {
            fail_with_last_error(kCannotCreateTemporary, target);
        }
    }
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;
    ~SiblingFile() {
        if (!committed_) {
            handle_.reset();
            retried_while_in_use([&] { return DeleteFileW(path_.c_str()) != FALSE; });
        }
    }

    [[nodiscard]] HANDLE handle() const noexcept { return handle_.get(); }
    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    void close() noexcept { handle_.reset(); }
    void commit() noexcept { committed_ = true; }

  private:
    std::wstring path_;
    UniqueHandle handle_;
    bool committed_ = false;
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

void rewrite_file(const std::wstring& path, const Rewrite& rewrite) {
    UniqueHandle original =
        adopt_handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
    std::vector<std::byte> protection = protection_of(original.get(), path);

    SiblingFile replacement(path);
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
    take_over(replacement.handle(), information.dwFileAttributes, protection, path);
    // The replacement needs the file free.
    original.reset();
    replacement.close();
    if (!retried_while_in_use([&] {
            return MoveFileExW(replacement.path().c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        })) {
        fail_with_last_error(kCannotReplace, path);
    }
    replacement.commit();
}

}  // namespace platform
