#pragma once

#include <utility>

namespace platform {

// The address of an entry of a system library, which is loaded from the system folder
// only and stays loaded. Throws a Failure that names the library and the entry.
[[nodiscard]] void* bind_system_entry(const wchar_t* library, const char* entry);

// A function of a system library reached by its entry name, bound on the first call and
// kept bound for the rest of the run. FunctionPointer is the declared type of the
// function, for example decltype(&::ShellExecuteA), so every call is type-checked.
template <typename FunctionPointer>
class SystemFunction {
  public:
    constexpr SystemFunction(const wchar_t* library, const char* entry) noexcept
        : library_(library), entry_(entry) {}

    template <typename... Args>
    decltype(auto) operator()(Args&&... args) {
        if (!bound_) {
            // Through a plain function pointer, which any function pointer converts from.
            bound_ = reinterpret_cast<FunctionPointer>(
                reinterpret_cast<void (*)()>(bind_system_entry(library_, entry_)));
        }
        return bound_(std::forward<Args>(args)...);
    }

  private:
    const wchar_t* library_;
    const char* entry_;
    FunctionPointer bound_ = nullptr;
};

}  // namespace platform
