#include "views/dib.h"

#include <vector>

#include "framework/resources.h"

bool CDib::Load(const wchar_t* name, HINSTANCE module) {
    const UINT flags = LR_CREATEDIBSECTION;
    HANDLE image = nullptr;
    if (module) {
        image = ::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, flags);
    } else {
        image = ::LoadImageW(fw::ResourceModule(), name, IMAGE_BITMAP, 0, 0, flags);
        if (!image && fw::ResourceModule() != fw::ProgramModule())
            image = ::LoadImageW(fw::ProgramModule(), name, IMAGE_BITMAP, 0, 0, flags);
    }
    if (!image) {
        Destroy();
        return false;
    }
    return Attach(static_cast<HBITMAP>(image));
}

bool CDib::Attach(HBITMAP bitmap) {
    Destroy();
    if (!bitmap)
        return false;
    bitmap_.reset(bitmap);
    if (::GetObjectW(bitmap, sizeof(info_), &info_) == 0) {
        Destroy();
        return false;
    }

    int colours = 0;
    std::vector<RGBQUAD> table(256);
    if (info_.bmBitsPixel <= 8) {
        fw::MemoryDC memory(::CreateCompatibleDC(nullptr));
        fw::SelectObjectScope select(memory.get(), bitmap);
        colours = static_cast<int>(::GetDIBColorTable(memory.get(), 0, 256, table.data()));
    }
    if (colours > 0) {
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (colours - 1));
        auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = static_cast<WORD>(colours);
        for (int i = 0; i < colours; ++i) {
            palette->palPalEntry[i] =
                PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        }
        palette_.reset(::CreatePalette(palette));
    } else {
        fw::WindowDC screen(nullptr);
        palette_.reset(::CreateHalftonePalette(screen.get()));
    }
    return true;
}

void CDib::Destroy() noexcept {
    palette_.reset();
    bitmap_.reset();
    info_ = BITMAP{};
}
