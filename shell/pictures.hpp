#pragma once

#include "shell/gdi.hpp"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

namespace shell {

// Pictures stored in the program's resources (GIF, JPEG or bitmap), decoded by the
// Windows Imaging Component into 32-bit bitmaps with premultiplied alpha, so that a
// transparent pixel shows what lies beneath when it is drawn. The pictures are drawn for
// 96 dots per inch; on a denser display the bitmap is scaled smoothly to keep its size on
// the screen. Needs COM on the thread; one decoder serves any number of pictures.
class PictureDecoder {
  public:
    PictureDecoder();
    // An empty object if the resource cannot be decoded.
    [[nodiscard]] GdiObject<HBITMAP> load(HINSTANCE instance, int resource,
                                          int dots_per_inch) const;

  private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
};

// Draws the bitmap at its own size with its top-left corner at the point.
void draw_picture(HDC target, HBITMAP picture, POINT at);

}  // namespace shell
