#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace shell {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A memory device context with one bitmap selected into it, to draw from or into; the
// context's own bitmap is put back on destruction.
class MemoryContext {
  public:
    MemoryContext(HDC compatible_with, HBITMAP bitmap)
        : context_(CreateCompatibleDC(compatible_with)),
          previous_(SelectObject(context_, bitmap)) {}
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;
    ~MemoryContext() {
        SelectObject(context_, previous_);
        DeleteDC(context_);
    }
    [[nodiscard]] HDC context() const noexcept { return context_; }

  private:
    HDC context_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint as one scope.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), context_(BeginPaint(window, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    [[nodiscard]] HDC context() const noexcept { return context_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC context_;
};

}  // namespace shell
