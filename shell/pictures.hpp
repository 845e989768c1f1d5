#pragma once

#include "shell/gdi.hpp"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

namespace shell {

// Pictures stored in the program's resources as bitmaps (8-bit, run-length encoded or not,
// 24-bit, or 32-bit with premultiplied alpha) that GDI draws as they are, so no image codec
// is loaded on a display of 96 dots per inch. A picture with alpha is composed over the
// colour beneath it once, here, so that every picture then draws with a plain copy. On a
// denser display the pictures are scaled smoothly to keep their size on the screen, by the
// Windows Imaging Component, which needs COM on the thread.
class PictureLoader {
  public:
    explicit PictureLoader(int dots_per_inch);
    // An empty object if the resource cannot be loaded; the picture at 96 dots per inch if
    // it cannot be scaled.
    [[nodiscard]] GdiObject<HBITMAP> load(HINSTANCE instance, int resource, COLORREF beneath) const;

  private:
    int dots_per_inch_;
    Microsoft::WRL::ComPtr<IWICImagingFactory> wic_factory_;  // only for a denser display
};

// Draws the bitmap at its own size with its top-left corner at the point.
void draw_picture(HDC target, HBITMAP picture, POINT at);

}  // namespace shell
