#include "shell/pictures.hpp"

#include "shell/dpi.hpp"

#include <objbase.h>

#include <cstring>

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;

struct Resource {
    const void* bytes = nullptr;
    DWORD size = 0;
};

Resource find_resource(HINSTANCE instance, int id) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!found) {
        return {};
    }
    // Resources stay mapped for the life of the module; there is nothing to free.
    return {LockResource(LoadResource(instance, found)), SizeofResource(instance, found)};
}

ComPtr<IWICBitmapSource> decode(IWICImagingFactory& factory, const Resource& resource) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    const bool decoded =
        SUCCEEDED(factory.CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(
            static_cast<BYTE*>(const_cast<void*>(resource.bytes)), resource.size)) &&
        SUCCEEDED(factory.CreateDecoderFromStream(stream.Get(), nullptr,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory.CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom));
    return decoded ? ComPtr<IWICBitmapSource>(converter) : nullptr;
}

int scaled(UINT pixels, int dots_per_inch) {
    return MulDiv(static_cast<int>(pixels), dots_per_inch, kStandardDotsPerInch);
}

// The picture at the size it has on a display of that many dots per inch, smoothed.
ComPtr<IWICBitmapSource> at_size_for(IWICImagingFactory& factory, ComPtr<IWICBitmapSource> picture,
                                     int dots_per_inch) {
    UINT width = 0;
    UINT height = 0;
    if (dots_per_inch == kStandardDotsPerInch || FAILED(picture->GetSize(&width, &height))) {
        return picture;
    }
    ComPtr<IWICBitmapScaler> scaler;
    const bool scaled_well = SUCCEEDED(factory.CreateBitmapScaler(&scaler)) &&
                             SUCCEEDED(scaler->Initialize(
                                 picture.Get(), scaled(width, dots_per_inch),
                                 scaled(height, dots_per_inch), WICBitmapInterpolationModeFant));
    return scaled_well ? ComPtr<IWICBitmapSource>(scaler) : picture;
}

}  // namespace

PictureDecoder::PictureDecoder() {
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_PPV_ARGS(&factory_));
}

GdiObject<HBITMAP> PictureDecoder::load(HINSTANCE instance, int resource, int dots_per_inch) const {
    const Resource stored = find_resource(instance, resource);
    ComPtr<IWICBitmapSource> source =
        stored.bytes && factory_ ? decode(*factory_.Get(), stored) : nullptr;
    if (source) {
        source = at_size_for(*factory_.Get(), source, dots_per_inch);
    }
    UINT width = 0;
    UINT height = 0;
    if (!source || FAILED(source->GetSize(&width, &height))) {
        return {};
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = static_cast<LONG>(width);
    format.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC delivers rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    GdiObject<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || FAILED(source->CopyPixels(nullptr, width * 4, width * height * 4,
                                             static_cast<BYTE*>(pixels)))) {
        return {};
    }
    return bitmap;
}

void draw_picture(HDC target, HBITMAP picture, POINT at) {
    if (!picture) {
        return;
    }
    BITMAP size{};
    GetObjectW(picture, sizeof(size), &size);
    const BitmapSource source(target, picture);
    constexpr BLENDFUNCTION kPremultiplied{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, at.x, at.y, size.bmWidth, size.bmHeight, source.context(), 0, 0,
               size.bmWidth, size.bmHeight, kPremultiplied);
}

}  // namespace shell
