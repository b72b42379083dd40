#pragma once
// Pictures of the image lists kept ready to draw. Drawing from an image list onto a window
// makes the list build a scratch bitmap for that window each time, which costs the window
// system several round trips; a picture drawn once into a bitmap of our own is then blended
// onto any window at the cost of a copy.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "framework/gdi.h"

namespace icons {

class PictureCache {
public:
    PictureCache() = default;
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // Draws picture `index` of `list` (its pictures `size` pixels square, at most kMaxSize),
    // as ImageList_DrawEx draws it transparently, and blended 50 % with `blend` unless
    // `blend` is CLR_NONE. `list` is named by `listId` in the cache.
    void Draw(HIMAGELIST list, int listId, int index, int size, COLORREF blend, HDC dc, int x,
              int y);
    // Draws picture `index` of `list` stretched to `size` pixels square, as DrawIconEx draws
    // the list's icon of it; making that icon for every drawing costs far more than the copy.
    void DrawStretched(HIMAGELIST list, int listId, int index, int size, HDC dc, int x, int y);
    // The picture at `index` of every list changed (or went): it is drawn afresh next time.
    void Forget(int index);
    void Clear();
    size_t Count() const noexcept { return cells_.size(); }

    static constexpr int kMaxSize = 32;

private:
    struct Key {
        int listId, index;
        COLORREF blend;
        int stretchedTo; // 0: the list's own size
        bool operator==(const Key& o) const noexcept {
            return listId == o.listId && index == o.index && blend == o.blend &&
                   stretchedTo == o.stretchedTo;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const noexcept {
            return ((static_cast<size_t>(k.index) * 31 + static_cast<size_t>(k.listId)) * 131 +
                    k.blend) *
                       37 +
                   static_cast<size_t>(k.stretchedTo);
        }
    };
    // The cell holding the picture, drawn now if need be; -1 when it cannot be.
    int CellFor(HIMAGELIST list, const Key& key, int size);
    // Puts the picture at the top left corner of row `y` of the atlas.
    static bool Render(HIMAGELIST list, const Key& key, HICON stretched, int size, HDC dc, int y);
    bool Grow();
    uint32_t* Cell(int cell) const noexcept;

    fw::MemoryDC dc_;
    fw::Bitmap atlas_;
    HGDIOBJ original_ = nullptr; // the memory DC's own bitmap, selected back before a swap
    void* bits_ = nullptr;
    int capacity_ = 0; // cells of the atlas; cell 0 is scratch
    std::unordered_map<Key, int, KeyHash> cells_;
    std::vector<int> free_;
};

} // namespace icons
