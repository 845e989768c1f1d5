#include "platform/files.hpp"

#include "platform/decimal_text.hpp"
#include "platform/failure.hpp"
#include "platform/unique_handle.hpp"

#include <windows.h>

#include <algorithm>
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
// before the next is read; smaller pieces also keep a slow disk from tying up a call for
// long.
constexpr DWORD kChunkBytes = 1 << 20;

// A new file beside the target, deleted again unless it has been committed.
class SiblingFile {
  public:
    explicit SiblingFile(const std::wstring& target) {
        const std::wstring prefix = target + L"." + decimal_text(GetCurrentProcessId()) + L"-";
        // CREATE_NEW fails rather than reuse a name some other process has just taken.
        for (int attempt = 0; !handle_ && attempt < 100; ++attempt) {
            path_ = prefix + decimal_text(static_cast<std::uint64_t>(attempt)) + L".tmp";
            handle_ = adopt_handle(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
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
            DeleteFileW(path_.c_str());
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

void write_all(HANDLE file, std::string_view bytes, const std::wstring& target) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunkBytes));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            fail_with_last_error(kCannotWrite, target);
        }
        bytes.remove_prefix(written);
    }
}

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

    SiblingFile replacement(path);
    std::string piece(kChunkBytes, '\0');
    std::string out;
    for (DWORD read = kChunkBytes; read != 0;) {
        if (!ReadFile(original.get(), piece.data(), kChunkBytes, &read, nullptr)) {
            fail_with_last_error(kCannotRead, path);
        }
        rewrite(std::string_view(piece.data(), read), out);
        write_all(replacement.handle(), out, path);
        out.clear();
    }
    if (!FlushFileBuffers(replacement.handle())) {
        fail_with_last_error(kCannotWrite, path);
    }
    // The replacement needs the file free, and takes over those of its attributes that can
    // be set (read-only was refused above).
    original.reset();
    replacement.close();
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD kept = information.dwFileAttributes & kSettable;
    if (!SetFileAttributesW(replacement.path().c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL)) {
        fail_with_last_error(kCannotWrite, path);
    }
    if (!MoveFileExW(replacement.path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail_with_last_error(kCannotReplace, path);
    }
    replacement.commit();
}

}  // namespace platform
