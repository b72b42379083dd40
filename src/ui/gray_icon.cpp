// The grey form of icons: what the grey image lists hold for the IconMono preference.
#include "ui/image_lists.h"

#include <cstdint>
#include <vector>

namespace icons {
namespace {
BYTE Grey(BYTE red, BYTE green, BYTE blue) {
    return static_cast<BYTE>(0.299 * red + 0.587 * green + 0.114 * blue);
}

// The bitmap's shape and its pixels as top-down 32-bit values; false when it cannot be read.
bool ReadPixels(HBITMAP bitmap, BITMAP& bm, std::vector<RGBQUAD>& pixels) {
    if (!bitmap || ::GetObjectW(bitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return false;
    BITMAPINFO info = fw::TopDown32(bm.bmWidth, bm.bmHeight);
    pixels.assign(static_cast<size_t>(bm.bmWidth) * bm.bmHeight, RGBQUAD{});
    fw::WindowDC screen(nullptr);
    return ::GetDIBits(screen.get(), bitmap, 0, bm.bmHeight, pixels.data(), &info,
                       DIB_RGB_COLORS) == bm.bmHeight;
}
} // namespace

fw::Bitmap MakeGrayBitmap(HBITMAP colour) {
    BITMAP bm{};
    std::vector<RGBQUAD> pixels;
    if (!ReadPixels(colour, bm, pixels))
        return fw::Bitmap();

    const bool alpha = bm.bmBitsPixel == 32;
    for (RGBQUAD& p : pixels) {
        if (!alpha && p.rgbRed == 0 && p.rgbGreen == 0 && p.rgbBlue == 0)
            continue;
        const BYTE g = Grey(p.rgbRed, p.rgbGreen, p.rgbBlue);
        p.rgbRed = p.rgbGreen = p.rgbBlue = g;
    }

    BITMAPINFO info = fw::TopDown32(bm.bmWidth, bm.bmHeight);
    if (alpha) {
        void* bits = nullptr;
        fw::Bitmap grey(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (grey && bits)
            memcpy(bits, pixels.data(), pixels.size() * sizeof(RGBQUAD));
        return grey;
    }
    // Same size, planes and depth as the original; the device maps the greys it cannot show.
    fw::Bitmap grey(::CreateBitmap(bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel, nullptr));
    if (!grey)
        return grey;
    fw::WindowDC screen(nullptr);
    if (::SetDIBits(screen.get(), grey.get(), 0, bm.bmHeight, pixels.data(), &info,
                    DIB_RGB_COLORS) == 0)
        return fw::Bitmap();
    return grey;
}

uint64_t IconFingerprint(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return 0;
    fw::Bitmap colour(info.hbmColor);
    fw::Bitmap mask(info.hbmMask);
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    auto mix = [&hash](const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            hash = (hash ^ static_cast<const BYTE*>(data)[i]) * 1099511628211ull;
    };
    for (HBITMAP bitmap : {colour.get(), mask.get()}) {
        if (!bitmap) {
            mix("none", 4);
            continue;
        }
        BITMAP bm{};
        std::vector<RGBQUAD> pixels;
        if (!ReadPixels(bitmap, bm, pixels))
            return 0;
        const LONG shape[3] = {bm.bmWidth, bm.bmHeight, bm.bmBitsPixel};
        mix(shape, sizeof(shape));
        mix(pixels.data(), pixels.size() * sizeof(RGBQUAD));
    }
    return hash == 0 ? 1 : hash; // 0 means "not known"
}

fw::Icon MakeGrayIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return fw::Icon();
    fw::Bitmap colour(info.hbmColor);
    fw::Bitmap mask(info.hbmMask);
    if (!colour) // a monochrome icon has no colours to turn grey
        return fw::Icon(::CopyIcon(icon));
    fw::Bitmap grey = MakeGrayBitmap(colour.get());
    if (!grey)
        return fw::Icon();
    ICONINFO made{};
    made.fIcon = TRUE;
    made.hbmMask = mask.get();
    made.hbmColor = grey.get();
    return fw::Icon(::CreateIconIndirect(&made));
}

} // namespace icons
