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
constexpr wchar_t kTooLarge[] = L"The file is too large to be loaded";
constexpr wchar_t kCannotCreateTemporary[] = L"Could not create a new file in the folder of";
constexpr wchar_t kCannotWrite[] = L"Could not write the new content of";
constexpr wchar_t kCannotReplace[] = L"Could not replace the content of";
constexpr wchar_t kReadOnly[] = L"The file is read-only and was left as it is";

// ReadFile and WriteFile move at most a DWORD at a time; smaller chunks also keep a slow
// disk from tying up a single call for long.
constexpr DWORD kChunkBytes = 1 << 20;

// Text of this size or more would not fit the address space of a 32-bit process once
// converted to UTF-16 and filled.
constexpr std::int64_t kLargestTemplateBytes = INT32_MAX / 4;

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
    if (!FlushFileBuffers(file)) {
        fail_with_last_error(kCannotWrite, target);
    }
}

}  // namespace

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

std::string read_file(const std::wstring& path) {
    const UniqueHandle file =
        adopt_handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        fail_with_last_error(kCannotOpen, path);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        fail_with_last_error(kCannotRead, path);
    }
    if (size.QuadPart >= kLargestTemplateBytes) {
        throw Failure(kTooLarge, path, ERROR_NOT_ENOUGH_MEMORY);
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, kChunkBytes));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, chunk, &read, nullptr)) {
            fail_with_last_error(kCannotRead, path);
        }
        if (read == 0) {
            throw Failure(kCannotRead, path, ERROR_HANDLE_EOF);
        }
        filled += read;
    }
    return bytes;
}

void replace_file(const std::wstring& path, std::string_view bytes) {
    // A rename replaces a read-only file under Wine although Windows refuses it; refusing
    // here gives both the same answer.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw Failure(kReadOnly, path, ERROR_ACCESS_DENIED);
    }
    SiblingFile replacement(path);
    write_all(replacement.handle(), bytes, path);
    replacement.close();
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(replacement.path().c_str(), attributes);
    }
    if (!MoveFileExW(replacement.path().c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail_with_last_error(kCannotReplace, path);
    }
    replacement.commit();
}

}  // namespace platform
