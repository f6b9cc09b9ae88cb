#include "pictures/PngPicture.h"

#include <objbase.h>
#include <wincodec.h>

#include <atomic>
#include <cstring>

#include "pictures/PictureLimits.h"

namespace pictures {

namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// COM for this thread for as long as the decode runs, whatever the caller did before.
struct ComScope {
    const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ~ComScope() {
        if (started) CoUninitialize();
    }
};

bool CreateFactory(ComPtr<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&factory)));
}

std::atomic<bool> gCodecFails{false};

}  // namespace

void SetPngCodecFailsForTesting(bool fails) { gCodecFails = fails; }

BITMAPINFO PixelSectionInfo(LONG width, LONG height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the codec gives its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP NewPixelSection(LONG width, LONG height, void** bits) {
    if (width <= 0 || height <= 0) return nullptr;
    const BITMAPINFO info = PixelSectionInfo(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

UINT PngFormat() {
    static const UINT format = RegisterClipboardFormatA("PNG");
    return format;
}

namespace {

// A picture within the limit; the product is taken in 64 bits, so no size wraps into a small one.
bool WithinPictureLimit(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && TooLargeForPicture(width, height).empty();
}

}  // namespace

HBITMAP DecodePng(const std::string& png) {
    const std::uint64_t bytes = png.size();
    if (bytes == 0 || bytes > MAXDWORD || gCodecFails) return nullptr;  // the stream takes a DWORD length
    // The size the PNG declares is checked before the codec decodes a pixel: a small block may ask for
    // gigabytes, and a 64-bit program has no address-space ceiling to stop it.
    std::uint64_t declaredWidth = 0, declaredHeight = 0;
    if (!PngSize(png, declaredWidth, declaredHeight) || !WithinPictureLimit(declaredWidth, declaredHeight))
        return nullptr;
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (!CreateFactory(factory)) return nullptr;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(png.data())), DWORD(png.size()))))
        return nullptr;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || !WithinPictureLimit(width, height)) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = NewPixelSection(LONG(width), LONG(height), &bits);
    if (!bitmap) return nullptr;
    const UINT stride = width * 4;  // both within the limit: the whole picture is under 64 MB
    if (FAILED(
            converter->CopyPixels(nullptr, stride, UINT(std::uint64_t(stride) * height), static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

std::optional<std::string> EncodePng(const void* pixels, unsigned width, unsigned height) {
    if (!pixels || width == 0 || height == 0 || gCodecFails) return std::nullopt;
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (!CreateFactory(factory) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.p)) ||
        FAILED(frame->SetSize(width, height)))
        return std::nullopt;
    // The fourth byte of a captured pixel is not alpha (bitmaps read from the clipboard leave it 0).
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const UINT stride = width * 4;
    auto* rows = static_cast<BYTE*>(const_cast<void*>(pixels));
    if (FAILED(frame->SetPixelFormat(&format))) return std::nullopt;
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) {
        // In bands, so that the encoder never needs a second copy of the whole picture.
        const UINT band = 256;
        for (UINT top = 0; top < height; top += band) {
            const UINT lines = top + band > height ? height - top : band;
            if (FAILED(frame->WritePixels(lines, stride, stride * lines, rows + std::size_t(top) * stride)))
                return std::nullopt;
        }
    } else {
        ComPtr<IWICBitmap> source;
        if (FAILED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGR, stride,
                                                   stride * height, rows, &source)) ||
            FAILED(frame->WriteSource(source.p, nullptr)))
            return std::nullopt;
    }
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return std::nullopt;
    HGLOBAL block = nullptr;
    STATSTG stat = {};
    if (FAILED(GetHGlobalFromStream(stream.p, &block)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return std::nullopt;
    const void* bytes = GlobalLock(block);
    if (!bytes) return std::nullopt;
    std::string png(static_cast<const char*>(bytes), std::size_t(stat.cbSize.QuadPart));
    GlobalUnlock(block);
    return png;
}

std::optional<std::string> EncodeSectionPng(HBITMAP section) {
    DIBSECTION dib = {};
    if (!section || GetObject(section, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32)
        return std::nullopt;
    return EncodePng(dib.dsBm.bmBits, unsigned(dib.dsBm.bmWidth), unsigned(dib.dsBm.bmHeight));
}

}  // namespace pictures
