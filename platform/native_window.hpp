#pragma once

// The Windows window handle type (HWND under STRICT, the default of every Windows SDK),
// named without windows.h so that headers of the portable parts can pass it along.
struct HWND__;

namespace platform {
using NativeWindow = HWND__*;
}
