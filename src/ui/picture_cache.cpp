#include "ui/picture_cache.h"

#include <algorithm>
#include <cstring>

namespace icons {
namespace {
constexpr int kCell = PictureCache::kMaxSize;
constexpr int kFirstCells = 64;

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}
} // namespace

PictureCache::~PictureCache() {
    if (dc_ && original_)
        ::SelectObject(dc_.get(), original_); // the atlas can only go once it is not in use
}

uint32_t* PictureCache::Cell(int cell) const noexcept {
    return static_cast<uint32_t*>(bits_) + static_cast<size_t>(cell) * kCell * kCell;
}

// The atlas is a column of square cells in one top-down 32-bit section, so a cell's pixels
// lie together; it doubles when full, keeping the pictures it holds.
bool PictureCache::Grow() {
    const int capacity = capacity_ ? capacity_ * 2 : kFirstCells;
    if (!dc_)
        dc_.reset(::CreateCompatibleDC(nullptr));
    if (!dc_)
        return false;
    BITMAPINFO info = fw::TopDown32(kCell, kCell * capacity);
    void* bits = nullptr;
    fw::Bitmap atlas(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!atlas || !bits)
        return false;
    ::GdiFlush();
    if (bits_)
        std::memcpy(bits, bits_, static_cast<size_t>(capacity_) * kCell * kCell * 4);
    HGDIOBJ old = ::SelectObject(dc_.get(), atlas.get());
    if (!old)
        return false;
    if (!original_)
        original_ = old;
    atlas_ = std::move(atlas); // the former atlas is no longer selected, so it can go
    bits_ = bits;
    for (int cell = std::max(capacity_, 1); cell < capacity; ++cell)
        free_.push_back(cell);
    capacity_ = capacity;
    return true;
}

int PictureCache::CellFor(HIMAGELIST list, const Key& key, int size) {
    const auto found = cells_.find(key);
    if (found != cells_.end())
        return found->second;
    if (free_.empty() && !Grow())
        return -1;
    // The stretched form is drawn from the list's icon, made once for both drawings.
    fw::Icon stretched;
    if (key.stretchedTo > 0) {
        stretched.reset(::ImageList_GetIcon(list, key.index, ILD_TRANSPARENT));
        if (!stretched)
            return -1;
    }
    const int cell = free_.back();
    // Drawn over black and over white: where the two differ the picture lets the background
    // through, by as much as they differ. Over black the colours are already weighted by
    // that coverage, which is the form blending wants.
    uint32_t* black = Cell(cell);
    uint32_t* white = Cell(0);
    ::GdiFlush();
    std::fill(black, black + kCell * kCell, 0u);
    std::fill(white, white + kCell * kCell, 0x00FFFFFFu);
    if (!Render(list, key, stretched.get(), size, dc_.get(), cell * kCell) ||
        !Render(list, key, stretched.get(), size, dc_.get(), 0))
        return -1;
    ::GdiFlush();
    for (int i = 0; i < kCell * kCell; ++i) {
        const uint32_t b = black[i];
        const uint32_t w = white[i];
        uint32_t through = 0;
        for (int shift : {0, 8, 16})
            through = std::max(through,
                               Channel(w, shift) - std::min(Channel(w, shift), Channel(b, shift)));
        const uint32_t alpha = 255 - through;
        uint32_t pixel = alpha << 24;
        for (int shift : {0, 8, 16})
            pixel |= std::min(Channel(b, shift), alpha) << shift;
        black[i] = pixel;
    }
    free_.pop_back();
    cells_.emplace(key, cell);
    return cell;
}

bool PictureCache::Render(HIMAGELIST list, const Key& key, HICON stretched, int size, HDC dc,
                          int y) {
    if (stretched)
        return ::DrawIconEx(dc, 0, y, stretched, size, size, 0, nullptr, DI_NORMAL) != FALSE;
    const UINT style = key.blend == CLR_NONE ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50;
    return ::ImageList_DrawEx(list, key.index, dc, 0, y, size, size, CLR_NONE, key.blend, style) !=
           FALSE;
}

void PictureCache::Draw(HIMAGELIST list, int listId, int index, int size, COLORREF blend, HDC dc,
                        int x, int y) {
    if (!list || index < 0)
        return;
    const int cell =
        size > 0 && size <= kMaxSize ? CellFor(list, Key{listId, index, blend, 0}, size) : -1;
    const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (cell >= 0 &&
        ::GdiAlphaBlend(dc, x, y, size, size, dc_.get(), 0, cell * kCell, size, size, over))
        return;
    // Not in the cache, or a device that cannot blend: straight from the list.
    ::ImageList_DrawEx(list, index, dc, x, y, 0, 0, CLR_NONE, blend,
                       blend == CLR_NONE ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}

void PictureCache::DrawStretched(HIMAGELIST list, int listId, int index, int size, HDC dc, int x,
                                 int y) {
    if (!list || index < 0 || size <= 0)
        return;
    const int cell =
        size <= kMaxSize ? CellFor(list, Key{listId, index, CLR_NONE, size}, size) : -1;
    const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (cell >= 0 &&
        ::GdiAlphaBlend(dc, x, y, size, size, dc_.get(), 0, cell * kCell, size, size, over))
        return;
    // Too large for a cell, or a device that cannot blend: the icon, made for this drawing.
    if (fw::Icon icon{::ImageList_GetIcon(list, index, ILD_TRANSPARENT)})
        ::DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
}

void PictureCache::Forget(int index) {
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (it->first.index == index) {
            free_.push_back(it->second);
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
}

void PictureCache::Clear() {
    for (const auto& entry : cells_)
        free_.push_back(entry.second);
    cells_.clear();
}

} // namespace icons
