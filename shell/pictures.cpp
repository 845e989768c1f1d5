#include "shell/pictures.hpp"

#include "shell/dpi.hpp"

#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;

constexpr int kBytesPerPixel = 4;

// A bitmap resource is a packed DIB: the header, the colour table, then the pixels.
struct StoredPicture {
    const BITMAPINFO* format = nullptr;
    const BYTE* pixels = nullptr;
};

StoredPicture find_picture(HINSTANCE instance, int id) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
    // Resources stay mapped for the life of the module; there is nothing to free.
    const auto* format =
        found ? static_cast<const BITMAPINFO*>(LockResource(LoadResource(instance, found)))
              : nullptr;
    if (!format) {
        return {};
    }
    const BITMAPINFOHEADER& header = format->bmiHeader;
    const DWORD colours = header.biClrUsed != 0    ? header.biClrUsed
                          : header.biBitCount <= 8 ? DWORD{1} << header.biBitCount
                                                   : 0;
    return {format,
            reinterpret_cast<const BYTE*>(format) + header.biSize + colours * sizeof(RGBQUAD)};
}

BYTE over(BYTE premultiplied, int transparency, BYTE beneath) {
    return static_cast<BYTE>(premultiplied + (beneath * transparency + 127) / 255);
}

// The 32-bit pictures carry premultiplied alpha: over an opaque colour, each channel gains
// the share of that colour which the pixel lets through.
std::vector<RGBQUAD> composed_over(const StoredPicture& picture, COLORREF beneath) {
    const BITMAPINFOHEADER& header = picture.format->bmiHeader;
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(header.biWidth) *
                                static_cast<std::size_t>(std::abs(header.biHeight)));
    std::memcpy(pixels.data(), picture.pixels, pixels.size() * sizeof(RGBQUAD));
    for (RGBQUAD& pixel : pixels) {
        const int transparency = 255 - pixel.rgbReserved;
        pixel.rgbRed = over(pixel.rgbRed, transparency, GetRValue(beneath));
        pixel.rgbGreen = over(pixel.rgbGreen, transparency, GetGValue(beneath));
        pixel.rgbBlue = over(pixel.rgbBlue, transparency, GetBValue(beneath));
    }
    return pixels;
}

// 32 bits a pixel, rows from the top, as the imaging component lays them out.
GdiObject<HBITMAP> top_down_bitmap(int width, int height, void** pixels) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return GdiObject<HBITMAP>(
        CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, pixels, nullptr, 0));
}

GdiObject<HBITMAP> scaled_copy(IWICImagingFactory& factory, void* pixels, int width, int height,
                               int dots_per_inch) {
    const int scaled_width = MulDiv(width, dots_per_inch, kStandardDotsPerInch);
    const int scaled_height = MulDiv(height, dots_per_inch, kStandardDotsPerInch);
    const UINT stride = static_cast<UINT>(width * kBytesPerPixel);
    const UINT scaled_stride = static_cast<UINT>(scaled_width * kBytesPerPixel);
    ComPtr<IWICBitmap> source;
    ComPtr<IWICBitmapScaler> scaler;
    void* scaled_pixels = nullptr;
    GdiObject<HBITMAP> bitmap = top_down_bitmap(scaled_width, scaled_height, &scaled_pixels);
    const bool scaled_well =
        bitmap &&
        SUCCEEDED(factory.CreateBitmapFromMemory(
            static_cast<UINT>(width), static_cast<UINT>(height), GUID_WICPixelFormat32bppBGR,
            stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(pixels), &source)) &&
        SUCCEEDED(factory.CreateBitmapScaler(&scaler)) &&
        SUCCEEDED(scaler->Initialize(source.Get(), static_cast<UINT>(scaled_width),
                                     static_cast<UINT>(scaled_height),
                                     WICBitmapInterpolationModeFant)) &&
        SUCCEEDED(scaler->CopyPixels(nullptr, scaled_stride,
                                     scaled_stride * static_cast<UINT>(scaled_height),
                                     static_cast<BYTE*>(scaled_pixels)));
    return scaled_well ? std::move(bitmap) : GdiObject<HBITMAP>();
}

}  // namespace

PictureLoader::PictureLoader(int dots_per_inch) : dots_per_inch_(dots_per_inch) {
    if (dots_per_inch != kStandardDotsPerInch) {
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(&wic_factory_));
    }
}

GdiObject<HBITMAP> PictureLoader::load(HINSTANCE instance, int resource, COLORREF beneath) const {
    const StoredPicture stored = find_picture(instance, resource);
    if (!stored.format) {
        return {};
    }
    const BITMAPINFOHEADER& header = stored.format->bmiHeader;
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    std::vector<RGBQUAD> composed;
    const void* stored_pixels = stored.pixels;
    if (header.biBitCount == 32) {
        composed = composed_over(stored, beneath);
        stored_pixels = composed.data();
    }

    void* pixels = nullptr;
    GdiObject<HBITMAP> bitmap = top_down_bitmap(width, height, &pixels);
    if (!bitmap) {
        return {};
    }
    {
        const MemoryContext target(nullptr, bitmap.get());
        if (StretchDIBits(target.context(), 0, 0, width, height, 0, 0, width, height, stored_pixels,
                          stored.format, DIB_RGB_COLORS, SRCCOPY) == 0) {
            return {};
        }
    }
    if (!wic_factory_) {
        return bitmap;
    }
    GdiFlush();  // the pixels are read directly next
    GdiObject<HBITMAP> scaled =
        scaled_copy(*wic_factory_.Get(), pixels, width, height, dots_per_inch_);
    return scaled ? std::move(scaled) : std::move(bitmap);
}

void draw_picture(HDC target, HBITMAP picture, POINT at) {
    if (!picture) {
        return;
    }
    BITMAP size{};
    GetObjectW(picture, sizeof(size), &size);
    const MemoryContext source(target, picture);
    BitBlt(target, at.x, at.y, size.bmWidth, size.bmHeight, source.context(), 0, 0, SRCCOPY);
}

}  // namespace shell
