#pragma once

#include <utility>

namespace platform {

// The address of an entry of a system library, loaded by its full path in the system
// folder (so no library of the same name elsewhere can stand in) and kept loaded.
// find_system_entry answers null where the library or the entry is missing;
// bind_system_entry throws a Failure that names them.
[[nodiscard]] void* find_system_entry(const wchar_t* library, const char* entry) noexcept;
[[nodiscard]] void* bind_system_entry(const wchar_t* library, const char* entry);

// A function of a system library reached by its entry name, bound once and kept bound for
// the rest of the run. FunctionPointer is the declared type of the function, for example
// decltype(&::ShellExecuteA), so every call is type-checked. A call binds or throws; a
// function that the oldest supported Windows lacks is asked for with optional() instead.
template <typename FunctionPointer>
class SystemFunction {
  public:
    constexpr SystemFunction(const wchar_t* library, const char* entry) noexcept
        : library_(library), entry_(entry) {}

    // The function, or null where this system does not have it. Looked up only once.
    [[nodiscard]] FunctionPointer optional() {
        if (!looked_up_) {
            bound_ = as_function(find_system_entry(library_, entry_));
            looked_up_ = true;
        }
        return bound_;
    }

    template <typename... Args>
    decltype(auto) operator()(Args&&... args) {
        if (!bound_) {
            bound_ = as_function(bind_system_entry(library_, entry_));
        }
        return bound_(std::forward<Args>(args)...);
    }

  private:
    // Through a plain function pointer, which any function pointer converts from.
    static FunctionPointer as_function(void* address) noexcept {
        return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(address));
    }

    const wchar_t* library_;
    const char* entry_;
    FunctionPointer bound_ = nullptr;
    bool looked_up_ = false;
};

}  // namespace platform
