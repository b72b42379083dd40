#include "ui/image_lists.h"

#include <shellapi.h>

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/resources.h"
#include "model/dpi_units.h"
#include "ui/picture_cache.h"
#include "model/picture_keeper.h"
#include "model/voice_book.h"
#include "resource.h"

namespace icons {
namespace {
// A larger file is no icon library of ours; the bound keeps a damaged one from taking
// memory without end.
constexpr UINT kMaxLibraryIcons = 4096;

void Release(int index);
int* UsersOf(int index);

// What the tree tells the lists about its nodes' pictures.
class Keeper final : public model::PictureKeeper {
public:
    void Release(int picture) noexcept override { icons::Release(picture); }
    void AddUser(int picture) noexcept override {
        if (int* users = UsersOf(picture))
            ++*users;
    }
    void StartAfresh() override {
        DestroyImageLists();
        BuildImageLists();
    }
};

struct State {
    Keeper keeper;
    fw::ImageList lists[4];
    int firstLibrary = 0;
    // Built-in pictures and library icons: shared by any number of nodes, never released.
    int fixedCount = 0;
    // Users of each picture from fixedCount on, and the pictures nobody uses any more.
    std::vector<int> users;
    std::vector<int> freeSlots;
    // The look of each counted picture (0: unknown), and the picture of each look.
    std::vector<uint64_t> looks;
    std::unordered_map<uint64_t, int> byLook;
    TargetIconSource source = nullptr;
    // Until the first paint is over, pictures read from files or asked of the shell wait:
    // their nodes draw their default picture meanwhile (`deferredAny` when one did).
    bool deferTargets = false;
    bool deferredAny = false;
    PictureCache drawn;
    // The library's places are reserved when the lists are made; its icons are read when
    // a library picture is first asked for, or when the program has time after its start.
    std::wstring libraryPath;
    bool libraryPending = false;
    int largeSize = 32;
    int smallSize = 16;
};

// Never destroyed: nodes may outlive every static object, and the process frees the lists.
State& S() {
    static State* state = new State;
    return *state;
}

HIMAGELIST L(ListKind kind) {
    return S().lists[static_cast<int>(kind)].get();
}

// Whatever asks the lists for a picture finds them made.
void EnsureLists() {
    BuildImageLists();
}

void FillLibrary();
bool IsLibraryPicture(int index);

// The list to draw `index` from, with the library's icons read first when it is one of them.
HIMAGELIST ListFor(ListKind kind, int index) {
    if (IsLibraryPicture(index))
        FillLibrary();
    return L(kind);
}

// A list with the built-in pictures: the 32-bit strip with alpha, else the older strip
// whose magenta is transparent.
fw::ImageList ListFromStrip(UINT alphaStrip, UINT oldStrip, int size) {
    fw::Bitmap dib(fw::LoadResBitmap(alphaStrip, LR_CREATEDIBSECTION));
    if (dib) {
        fw::ImageList list(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 1));
        if (list && ::ImageList_Add(list.get(), dib.get(), nullptr) >= 0)
            return list;
    }
    fw::ImageList list(::ImageList_Create(size, size, ILC_COLORDDB | ILC_MASK, 0, 1));
    fw::Bitmap old(fw::LoadResBitmap(oldStrip, 0));
    if (list && old)
        ::ImageList_AddMasked(list.get(), old.get(), RGB(255, 0, 255));
    return list;
}

// The strip of pictures at `size` (colour or grey).
fw::ImageList ListAtSize(int size, bool grey) {
    switch (size) {
    case 16:
        return grey ? ListFromStrip(IDB_PICTURES_SMALL_GREY, IDB_PICTURES_SMALL_GREY_OLD, 16)
                    : ListFromStrip(IDB_PICTURES_SMALL, IDB_PICTURES_SMALL_OLD, 16);
    case 32:
        return grey ? ListFromStrip(IDB_PICTURES_LARGE_GREY, IDB_PICTURES_LARGE_GREY_OLD, 32)
                    : ListFromStrip(IDB_PICTURES_LARGE, IDB_PICTURES_LARGE_OLD, 32);
    default:
        break;
    }
    const UINT id = size == 24   ? (grey ? IDB_PICTURES_24_GREY : IDB_PICTURES_24)
                    : size == 48 ? (grey ? IDB_PICTURES_48_GREY : IDB_PICTURES_48)
                                 : (grey ? IDB_PICTURES_64_GREY : IDB_PICTURES_64);
    return ListFromStrip(id, 0, size);
}

// An icon file's icon at exactly the lists' sizes; at 32 and 16 the system's own choice.
void ExtractPair(const std::wstring& file, int index, HICON& large, HICON& small) {
    const State& s = S();
    if (s.largeSize == 32 && s.smallSize == 16) {
        ::ExtractIconExW(file.c_str(), index, &large, &small, 1);
        return;
    }
    const UINT sizes[2] = {static_cast<UINT>(s.largeSize), static_cast<UINT>(s.smallSize)};
    HICON* into[2] = {&large, &small};
    for (int i = 0; i < 2; ++i)
        if (::PrivateExtractIconsW(file.c_str(), index, static_cast<int>(sizes[i]),
                                   static_cast<int>(sizes[i]), into[i], nullptr, 1, 0) != 1)
            *into[i] = nullptr;
}

bool ListsExist() {
    State& s = S();
    for (const fw::ImageList& list : s.lists)
        if (!list)
            return false;
    return true;
}

// Puts the pair and its grey forms at `slot` of every list, or appends them when slot is
// -1. Answers the index, or -1 with the four lists as long as they were.
int Place(HICON large, HICON small, int slot) {
    if (!ListsExist() || !large || !small)
        return -1;
    fw::Icon greyLarge = MakeGrayIcon(large);
    fw::Icon greySmall = MakeGrayIcon(small);
    if (!greyLarge || !greySmall)
        return -1;
    const HICON icons[4] = {large, small, greyLarge.get(), greySmall.get()};
    if (slot >= 0) {
        S().drawn.Forget(slot);
        bool all = true;
        for (int i = 0; i < 4; ++i)
            all = ::ImageList_ReplaceIcon(S().lists[i].get(), slot, icons[i]) == slot && all;
        return all ? slot : -1;
    }
    const int index = ::ImageList_GetImageCount(S().lists[0].get());
    int added = 0;
    while (added < 4 && ::ImageList_AddIcon(S().lists[added].get(), icons[added]) == index)
        ++added;
    if (added == 4)
        return index;
    for (int i = 0; i < 4; ++i) // keep the lists in step
        ::ImageList_SetImageCount(S().lists[i].get(), static_cast<UINT>(index));
    return -1;
}

// A picture with one more user: the one that looks the same when there is one, else a new
// one in a slot nobody uses, or at the end.
int AddCounted(HICON large, HICON small) {
    State& s = S();
    const uint64_t a = IconFingerprint(large);
    const uint64_t b = IconFingerprint(small);
    const uint64_t look = a && b ? (a * 31) ^ b : 0;
    if (look) {
        const auto found = s.byLook.find(look);
        if (found != s.byLook.end()) {
            if (int* users = UsersOf(found->second)) {
                ++*users;
                return found->second;
            }
        }
    }
    int index = -1;
    if (!s.freeSlots.empty()) {
        index = s.freeSlots.back();
        if (Place(large, small, index) != index)
            return -1;
        s.freeSlots.pop_back();
    } else {
        index = Place(large, small, -1);
        if (index < 0)
            return -1;
        const size_t count = static_cast<size_t>(index - s.fixedCount) + 1;
        s.users.resize(count, 0);
        s.looks.resize(count, 0);
    }
    const size_t k = static_cast<size_t>(index - s.fixedCount);
    s.users[k] = 1;
    s.looks[k] = look;
    if (look)
        s.byLook[look] = index;
    return index;
}

int* UsersOf(int index) {
    State& s = S();
    if (index < s.fixedCount)
        return nullptr;
    const size_t k = static_cast<size_t>(index - s.fixedCount);
    if (k >= s.users.size() || s.users[k] <= 0)
        return nullptr;
    return &s.users[k];
}

void Release(int index) {
    int* users = UsersOf(index);
    if (!users || --*users > 0)
        return;
    State& s = S();
    s.freeSlots.push_back(index);
    uint64_t& look = s.looks[static_cast<size_t>(index - s.fixedCount)];
    const auto found = s.byLook.find(look);
    if (found != s.byLook.end() && found->second == index)
        s.byLook.erase(found);
    look = 0;
}

// The number of icons in the library file (0 when it is missing or holds none).
int CountLibraryIcons(const std::wstring& path) {
    const UINT n = ::ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0);
    if (n == UINT_MAX) // a file that is missing or no icon file at all
        return 0;
    return static_cast<int>(std::min(n, kMaxLibraryIcons));
}

// Fills the reserved places with the library's icons, once. A place whose icon cannot be
// read shows the picture of a missing icon, as a library index past the end does.
void FillLibrary() {
    State& s = S();
    if (!s.libraryPending)
        return;
    s.libraryPending = false;
    for (int index = s.firstLibrary; index < s.fixedCount; ++index) {
        HICON large = nullptr;
        HICON small = nullptr;
        ExtractPair(s.libraryPath, index - s.firstLibrary, large, small);
        fw::Icon ownLarge(large);
        fw::Icon ownSmall(small);
        if (large && small && Place(large, small, index) == index)
            continue;
        s.drawn.Forget(index);
        for (fw::ImageList& list : s.lists)
            ::ImageList_Copy(list.get(), index, list.get(), kPictureMissing, ILCF_MOVE);
    }
}

bool IsLibraryPicture(int index) {
    const State& s = S();
    return s.libraryPending && index >= s.firstLibrary && index < s.fixedCount;
}

void Draw(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono,
          bool large) {
    const int picture = GetImage(node); // the default one while the node's own waits
    ListKind kind;
    int index = -1;
    if (grey && node.m_nGrayImage >= 0 && iconMono) {
        index = node.m_nGrayImage;
        kind = large ? ListKind::LargeGrey : ListKind::SmallGrey;
    } else if (picture >= 0) {
        index = picture;
        kind = large ? ListKind::LargeColour : ListKind::SmallColour;
    } else {
        return;
    }
    HIMAGELIST list = ListFor(kind, index);
    if (!list)
        return;
    S().drawn.Draw(list, static_cast<int>(kind), index, large ? S().largeSize : S().smallSize,
                   highlighted ? ::GetSysColor(COLOR_HIGHLIGHT) : CLR_NONE, dc, x, y);
}
} // namespace

void BuildImageLists() {
    // Every look at the lists comes here: once they exist nothing else is done.
    if (S().lists[0] && S().lists[1])
        return;
    BuildImageListsFrom(fw::ProgramFolder() + L"larkb.icl");
}

void SetPictureDpi(int dpi) {
    State& s = S();
    if (s.lists[0])
        return; // made already, at their size
    s.largeSize = AvailablePictureSize(model::ScaleForDpi(32, dpi));
    s.smallSize = AvailablePictureSize(model::ScaleForDpi(16, dpi));
}

bool RemakeImageListsForDpi(int dpi, oVoiceBook& root) {
    State& s = S();
    const int large = AvailablePictureSize(model::ScaleForDpi(32, dpi));
    const int small = AvailablePictureSize(model::ScaleForDpi(16, dpi));
    if (large == s.largeSize && small == s.smallSize)
        return false;
    // Built-in and library pictures keep their places in the new lists; the counted ones go
    // with the old lists, so nodes must not release them into the new ones.
    const int fixed = s.fixedCount;
    root.WalkSelfAndDescendantsF([fixed](oTreeNode& n) {
        auto& node = static_cast<oVoiceBook&>(n);
        if (node.m_nImage >= fixed || node.m_nGrayImage >= fixed)
            node.m_nImage = node.m_nGrayImage = -1;
        return static_cast<int>(WALK_DESCEND);
    });
    const bool wasMade = s.lists[0] && s.lists[1];
    DestroyImageLists();
    s.largeSize = large;
    s.smallSize = small;
    if (wasMade)
        BuildImageLists();
    return true;
}

int LargePictureSize() {
    return S().largeSize;
}

int SmallPictureSize() {
    return S().smallSize;
}

int AvailablePictureSize(int wanted) noexcept {
    int size = 16;
    for (int available : {24, 32, 48, 64})
        if (available <= wanted)
            size = available;
    return size;
}

void BuildImageListsFrom(const std::wstring& libraryPath) {
    State& s = S();
    if (s.lists[0] && s.lists[1])
        return;
    DestroyImageLists();
    model::SetPictureKeeper(&s.keeper);
    s.drawn.Clear();
    s.lists[0] = ListAtSize(s.largeSize, false);
    s.lists[1] = ListAtSize(s.smallSize, false);
    s.lists[2] = ListAtSize(s.largeSize, true);
    s.lists[3] = ListAtSize(s.smallSize, true);
    s.fixedCount = kBuiltInPictures;
    // Reading the library's icons and making their grey forms is the slowest part of the
    // lists; the bar's first category rarely needs them, so only their places are taken.
    const int library = ListsExist() ? CountLibraryIcons(libraryPath) : 0;
    if (library > 0) {
        s.firstLibrary = kBuiltInPictures;
        s.fixedCount = kBuiltInPictures + library;
        s.libraryPath = libraryPath;
        s.libraryPending = true;
    }
    // Every list starts with the same built-in pictures, whatever a strip held (what it held
    // beyond them never shows in the library's places), then those places. Each change of
    // the count makes the list's bitmaps anew, so it is changed once where it can be.
    for (fw::ImageList& list : s.lists) {
        if (!list)
            continue;
        int held = ::ImageList_GetImageCount(list.get());
        if (held > kBuiltInPictures && s.fixedCount > kBuiltInPictures &&
            ::ImageList_SetImageCount(list.get(), kBuiltInPictures))
            held = kBuiltInPictures;
        if (held != s.fixedCount)
            ::ImageList_SetImageCount(list.get(), static_cast<UINT>(s.fixedCount));
    }
}

void CompleteImageLists() {
    FillLibrary();
}

void DestroyImageLists() {
    State& s = S();
    for (fw::ImageList& list : s.lists)
        list.reset();
    s.drawn.Clear();
    s.firstLibrary = 0;
    s.fixedCount = 0;
    s.users.clear();
    s.freeSlots.clear();
    s.looks.clear();
    s.byLook.clear();
    s.libraryPending = false;
}

HIMAGELIST List(ListKind kind) {
    EnsureLists();
    // Whoever takes a list draws from it by any index.
    FillLibrary();
    return L(kind);
}

int FirstLibraryIndex() {
    EnsureLists();
    return S().firstLibrary;
}

void SetTargetIconSource(TargetIconSource source) noexcept {
    S().source = source;
}

int DefaultImage(const oVoiceBook& node) {
    EnsureLists();
    if (node.IsItem()) {
        const int chosen = node.m_nDefaultImage;
        if (chosen >= 3 && chosen <= 10)
            return chosen;
        if (chosen >= 1000) {
            // A library icon that does not exist would land on some node's own picture.
            const int index = FirstLibraryIndex() + (chosen - 1000);
            const int fixed = S().fixedCount > 0 ? S().fixedCount : kBuiltInPictures;
            return index < fixed ? index : kPictureMissing;
        }
        if (node.m_nKind & KIND_BOOK)
            return kPictureCategory;
        return node.HasChildren() ? kPictureParent : kPictureMissing;
    }
    return node.IsOldItem() ? kPictureOldKind : kPictureMissing;
}

int BuildImages(oVoiceBook& node) {
    EnsureLists();
    node.ReleasePictures();
    fw::Icon large;
    fw::Icon small;
    bool obtained = false;
    if (!node.m_strIconFile.empty()) {
        HICON l = nullptr;
        HICON s = nullptr;
        ExtractPair(node.m_strIconFile, node.m_nIconIndex, l, s);
        large.reset(l);
        small.reset(s);
        obtained = large && small;
    } else if (node.IsItem() && S().source) {
        obtained = S().source(node, large, small, S().largeSize, S().smallSize) && large && small;
    }
    const int index = obtained ? AddCounted(large.get(), small.get()) : -1;
    node.m_nImage = node.m_nGrayImage = index >= 0 ? index : DefaultImage(node);
    return node.m_nImage;
}

int GetImage(oVoiceBook& node) {
    EnsureLists(); // a go-up node has its picture without building one
    if (node.m_nImage >= 0)
        return node.m_nImage;
    if (S().deferTargets && (!node.m_strIconFile.empty() || (node.IsItem() && S().source))) {
        S().deferredAny = true;
        return DefaultImage(node); // nothing kept: the next look after the wait builds it
    }
    return BuildImages(node);
}

void DeferTargetPictures() noexcept {
    S().deferTargets = true;
}

bool EndDeferredPictures() noexcept {
    S().deferTargets = false;
    return std::exchange(S().deferredAny, false);
}

void DrawLarge(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono) {
    Draw(node, dc, x, y, highlighted, grey, iconMono, true);
}

void DrawSmall(oVoiceBook& node, HDC dc, int x, int y, bool highlighted, bool grey, bool iconMono) {
    Draw(node, dc, x, y, highlighted, grey, iconMono, false);
}

void DrawLargeStretched(const oVoiceBook& node, HDC dc, int x, int y, int size, bool grey,
                        bool iconMono) {
    EnsureLists();
    const bool greyForm = grey && node.m_nGrayImage >= 0 && iconMono;
    const int index = greyForm ? node.m_nGrayImage : node.m_nImage;
    if (index < 0)
        return;
    const ListKind kind = greyForm ? ListKind::LargeGrey : ListKind::LargeColour;
    S().drawn.DrawStretched(ListFor(kind, index), static_cast<int>(kind), index, size, dc, x, y);
}

fw::Icon GetIconHandle(const oVoiceBook& node, bool large, bool grey, bool iconMono) {
    EnsureLists();
    if (grey && node.m_nGrayImage >= 0 && iconMono)
        return fw::Icon(::ImageList_GetIcon(
            ListFor(large ? ListKind::LargeGrey : ListKind::SmallGrey, node.m_nGrayImage),
            node.m_nGrayImage, ILD_TRANSPARENT));
    if (node.m_nImage < 0)
        return fw::Icon();
    return fw::Icon(::ImageList_GetIcon(
        ListFor(large ? ListKind::LargeColour : ListKind::SmallColour, node.m_nImage),
        node.m_nImage, ILD_TRANSPARENT));
}

} // namespace icons
