#pragma once

#include <windows.h>

// Dots per inch of the display a window is on, and the frame that gives a client area of a
// size there. Per-monitor values come from functions that Windows 10 (1607) added; before
// that the whole system has one value, which is what these fall back to.
namespace shell {

inline constexpr int kStandardDotsPerInch = 96;

[[nodiscard]] int system_dots_per_inch();
[[nodiscard]] int dots_per_inch_of(HWND window);
// Asks that the window's frame and title bar follow the density of its display, where the
// system does that only on request (Windows 10 1607); to be called in WM_NCCREATE.
void scale_frame_with_density(HWND window);
// The window rectangle whose client area is the given rectangle, at the given dots per inch.
[[nodiscard]] RECT frame_around(RECT client, DWORD style, DWORD extended_style, int dots_per_inch);

}  // namespace shell
