// The node pictures in the shared image lists: grey forms, library indices, default
// pictures, drawing, and reuse of pictures nobody shows any more.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/gdi.h"
#include "framework/handle.h"
#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "support/test_util.h"

namespace {

using Pixels = std::vector<uint32_t>;

// A top-down 32-bit section of the given size with its pixels, selected into a memory DC.
struct Surface {
    explicit Surface(int size) : size(size) {
        BITMAPINFO bi = fw::TopDown32(size, size);
        bitmap.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc.reset(::CreateCompatibleDC(nullptr));
        ::SelectObject(dc.get(), bitmap.get());
        for (int i = 0; i < size * size; ++i)
            static_cast<uint32_t*>(bits)[i] = 0x00404040; // anything the pictures do not use
    }
    Pixels Read() const {
        ::GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        return Pixels(p, p + size * size);
    }
    int size;
    void* bits = nullptr;
    fw::Bitmap bitmap;
    fw::MemoryDC dc;
};

Pixels ListPicture(icons::ListKind kind, int index) {
    Surface s(32);
    ::ImageList_Draw(icons::List(kind), index, s.dc.get(), 0, 0, ILD_TRANSPARENT);
    return s.Read();
}

Pixels NodeLarge(oVoiceBook& node, bool grey, bool iconMono) {
    Surface s(32);
    icons::DrawLarge(node, s.dc.get(), 0, 0, false, grey, iconMono);
    return s.Read();
}

std::wstring Library() {
    return test::ExeFolder() + L"larkb.icl";
}

class ImageListsTest : public ::testing::Test {
protected:
    void SetUp() override { Rebuild(Library()); }
    void TearDown() override { Rebuild(Library()); }
    static void Rebuild(const std::wstring& library, int dpi = 96) {
        icons::DestroyImageLists();
        icons::SetPictureDpi(dpi);
        icons::BuildImageListsFrom(library);
    }
    static int Count() {
        return ::ImageList_GetImageCount(icons::List(icons::ListKind::LargeColour));
    }
};

// A 32-bit icon whose first pixels are the given colours (BGRA words, straight alpha).
fw::Icon Icon32(const std::vector<uint32_t>& first) {
    BITMAPINFO bi = fw::TopDown32(16, 16);
    void* bits = nullptr;
    fw::Bitmap colour(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    for (size_t i = 0; i < first.size(); ++i)
        static_cast<uint32_t*>(bits)[i] = first[i];
    fw::Bitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return fw::Icon(::CreateIconIndirect(&info));
}

Pixels ColourPixels(HBITMAP bitmap) {
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    BITMAPINFO bi = fw::TopDown32(bm.bmWidth, bm.bmHeight);
    Pixels out(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    fw::WindowDC screen(nullptr);
    ::GetDIBits(screen.get(), bitmap, 0, bm.bmHeight, out.data(), &bi, DIB_RGB_COLORS);
    return out;
}

TEST(GrayIcon, ColoursBecomeTheirGreyAndKeepTheirAlpha) {
    struct Case {
        uint32_t bgra, grey;
    } cases[] = {
        {0xFFFF0000u, 0x4C}, // red: 76
        {0x80008000u, 0x4B}, // green 128 at half alpha: 75
        {0xFF00FF00u, 0x95}, // green: 149
        {0x400000FFu, 0x1D}, // blue: 29, alpha 64
        {0xFFFFFFFFu, 0xFF},
    };
    std::vector<uint32_t> first;
    for (const Case& c : cases)
        first.push_back(c.bgra);
    fw::Icon icon = Icon32(first);
    ASSERT_TRUE(icon) << ::GetLastError();
    fw::Icon grey = icons::MakeGrayIcon(icon.get());
    ASSERT_TRUE(grey) << ::GetLastError();
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(grey.get(), &info)) << ::GetLastError();
    fw::Bitmap colour(info.hbmColor), mask(info.hbmMask);
    const Pixels p = ColourPixels(colour.get());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const uint32_t g = cases[i].grey;
        EXPECT_EQ(p[i], (cases[i].bgra & 0xFF000000u) | g << 16 | g << 8 | g) << "pixel " << i;
    }
}

TEST(GrayIcon, BlackStaysBlackInA4BitBitmap) {
    // Default 4-bit palette: 0 black, 9 red, 15 white.
    std::vector<BYTE> bits(16 * 8, 0x00);
    bits[0] = 0x09; // black, red
    bits[1] = 0xF0; // white, black
    fw::Bitmap colour(::CreateBitmap(16, 16, 1, 4, bits.data()));
    ASSERT_TRUE(colour) << ::GetLastError();
    fw::Bitmap grey = icons::MakeGrayBitmap(colour.get());
    ASSERT_TRUE(grey) << ::GetLastError();
    BITMAP bm{};
    ::GetObjectW(grey.get(), sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 4);
    const Pixels p = ColourPixels(grey.get());
    EXPECT_EQ(p[0] & 0xFFFFFF, 0u);
    const uint32_t red = p[1] & 0xFFFFFF;
    EXPECT_NE(red, 0xFF0000u) << "red must turn grey";
    EXPECT_EQ(red & 0xFF, (red >> 8) & 0xFF);
    EXPECT_EQ(red & 0xFF, (red >> 16) & 0xFF);
    EXPECT_EQ(p[2] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(p[3] & 0xFFFFFF, 0u);
}

TEST_F(ImageListsTest, LibraryIconsFollowTheBuiltInPictures) {
    struct Case {
        bool library;
        int chosen, expected;
    } cases[] = {
        {true, 1000, 13}, {true, 1005, 18}, {true, 1014, 27}, {true, 1015, 0},
        {true, 7, 7},     {false, 1000, 0}, {false, 1005, 5}, {false, 1013, 0},
    };
    for (const Case& c : cases) {
        Rebuild(c.library ? Library() : test::ExeFolder() + L"absent.icl");
        EXPECT_EQ(icons::FirstLibraryIndex(), c.library ? 13 : 0);
        EXPECT_EQ(Count(), c.library ? 28 : 13);
        oVoiceBook node;
        node.m_nKind = KIND_ITEM | KIND_BOOK;
        node.m_nDefaultImage = c.chosen;
        EXPECT_EQ(icons::DefaultImage(node), c.expected)
            << "library " << c.library << ", chosen " << c.chosen;
    }
}

TEST_F(ImageListsTest, LibraryIconsAreTheSameReadOnFirstDrawOrAtIdle) {
    oVoiceBook node;
    node.m_nKind = KIND_ITEM | KIND_BOOK;
    node.m_nDefaultImage = 1005;
    const Pixels onFirstDraw = NodeLarge(node, true, true); // the grey list first
    const Pixels colour = NodeLarge(node, false, false);
    Rebuild(Library());
    icons::CompleteImageLists();
    node.ReleasePictures();
    EXPECT_EQ(NodeLarge(node, true, true), onFirstDraw);
    EXPECT_EQ(NodeLarge(node, false, false), colour);
    EXPECT_NE(colour, Surface(32).Read()) << "nothing drawn";
    EXPECT_NE(colour, ListPicture(icons::ListKind::LargeColour, icons::kPictureMissing));
}

// At 150 % and 200 % the pictures come from sources of their size, never a 32-pixel one
// stretched; between the sizes of ours the next smaller one is taken.
TEST_F(ImageListsTest, PicturesComeFromSourcesOfTheListsSize) {
    const struct {
        int dpi, large, small;
    } rows[] = {{96, 32, 16}, {120, 32, 16}, {144, 48, 24}, {192, 64, 32}};
    const fw::Module library(
        ::LoadLibraryExW(Library().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(library) << test::SystemErrorText(::GetLastError());
    // As a list of that size shows the icon (a smaller one is stretched to fit).
    const auto drawn = [](HICON icon, int size) {
        fw::ImageList list(::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1));
        Surface s(size);
        ::ImageList_AddIcon(list.get(), icon);
        ::ImageList_Draw(list.get(), 0, s.dc.get(), 0, 0, ILD_TRANSPARENT);
        return s.Read();
    };
    for (const auto& r : rows) {
        Rebuild(Library(), r.dpi);
        icons::CompleteImageLists();
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(icons::List(icons::ListKind::LargeColour), &cx, &cy);
        EXPECT_EQ(cx, r.large) << r.dpi;
        ::ImageList_GetIconSize(icons::List(icons::ListKind::SmallGrey), &cx, &cy);
        EXPECT_EQ(cx, r.small) << r.dpi;
        // The library's first icon, as its file has it at that size and as 32 pixels stretched.
        const auto load = [&](int size) {
            return fw::Icon(static_cast<HICON>(
                ::LoadImageW(library.get(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
        };
        Surface s(r.large);
        ::ImageList_Draw(icons::List(icons::ListKind::LargeColour), icons::FirstLibraryIndex(),
                         s.dc.get(), 0, 0, ILD_TRANSPARENT);
        const fw::Icon exact = load(r.large);
        ASSERT_TRUE(exact) << r.dpi << ": " << test::SystemErrorText(::GetLastError());
        EXPECT_EQ(s.Read(), drawn(exact.get(), r.large)) << r.dpi;
        if (r.large != 32) {
            EXPECT_NE(s.Read(), drawn(load(32).get(), r.large)) << r.dpi;
        }
    }
}

TEST_F(ImageListsTest, NodesWithoutTargetDrawTheirDefaultPicture) {
    struct Case {
        int32_t kind, chosen;
        int picture;
    } cases[] = {
        {KIND_ITEM | KIND_BOOK, -1, icons::kPictureCategory},
        {KIND_ITEM | KIND_BOOK, 7, 7},
        {KIND_ITEM | KIND_COMMAND, 10, icons::kPictureWeb},
        {KIND_ITEM | KIND_COMMAND, 0, icons::kPictureMissing},
        {KIND_OLD_ITEM, 5, icons::kPictureOldKind},
    };
    for (const Case& c : cases) {
        oVoiceBook node;
        node.m_nKind = c.kind;
        node.m_nDefaultImage = c.chosen;
        EXPECT_EQ(NodeLarge(node, false, false),
                  ListPicture(icons::ListKind::LargeColour, c.picture))
            << "kind " << c.kind << ", chosen " << c.chosen;
        EXPECT_EQ(node.m_nImage, c.picture);
    }
}

TEST_F(ImageListsTest, GreyIsDrawnOnlyWhenAskedAndPreferred) {
    oVoiceBook node;
    node.m_nKind = KIND_ITEM | KIND_BOOK;
    const Pixels colour = ListPicture(icons::ListKind::LargeColour, icons::kPictureCategory);
    const Pixels grey = ListPicture(icons::ListKind::LargeGrey, icons::kPictureCategory);
    ASSERT_NE(colour, grey);
    EXPECT_EQ(NodeLarge(node, true, false), colour);
    EXPECT_EQ(NodeLarge(node, false, true), colour);
    EXPECT_EQ(NodeLarge(node, true, true), grey);
}

TEST_F(ImageListsTest, RebuildingPicturesReusesTheirPlaceAndShowsTheNewest) {
    oVoiceBook node;
    node.m_nKind = KIND_ITEM | KIND_COMMAND;
    node.SetIcon(Library().c_str(), 0);
    ASSERT_EQ(icons::BuildImages(node), 28);
    const int count = Count();
    for (int i = 1; i <= 1000; ++i) {
        node.m_nIconIndex = i % 12;
        ASSERT_EQ(icons::BuildImages(node), 28) << "rebuild " << i;
    }
    EXPECT_EQ(Count(), count);
    EXPECT_EQ(ListPicture(icons::ListKind::LargeColour, node.m_nImage),
              ListPicture(icons::ListKind::LargeColour, icons::FirstLibraryIndex() + 1000 % 12));
    EXPECT_EQ(ListPicture(icons::ListKind::LargeGrey, node.m_nGrayImage),
              ListPicture(icons::ListKind::LargeGrey, icons::FirstLibraryIndex() + 1000 % 12));

    // A copy keeps the picture alive after its source is gone; a new node then takes a new
    // place, and the place the copy gives up is taken again.
    auto* source = new oVoiceBook;
    source->m_nKind = KIND_ITEM | KIND_COMMAND;
    source->SetIcon(Library().c_str(), 3);
    const int shared = icons::BuildImages(*source);
    oVoiceBook copy;
    copy.CopyFrom(*source);
    delete source;
    EXPECT_EQ(copy.m_nImage, shared);
    oVoiceBook other;
    other.m_nKind = KIND_ITEM | KIND_COMMAND;
    other.SetIcon(Library().c_str(), 4);
    EXPECT_NE(icons::BuildImages(other), shared);
    const int grown = Count();
    copy.Reset();
    oVoiceBook last;
    last.m_nKind = KIND_ITEM | KIND_COMMAND;
    last.SetIcon(Library().c_str(), 5);
    EXPECT_EQ(icons::BuildImages(last), shared);
    EXPECT_EQ(Count(), grown);
}

TEST_F(ImageListsTest, NodesWhoseIconsLookTheSameShareOnePictureUntilOneChanges) {
    const auto node = [](int iconIndex) {
        auto n = std::make_unique<oVoiceBook>();
        n->m_nKind = KIND_ITEM | KIND_COMMAND;
        n->SetIcon(Library().c_str(), iconIndex);
        icons::BuildImages(*n);
        return n;
    };
    auto a = node(2);
    const int count = Count();
    auto b = node(2);
    auto other = node(3);
    EXPECT_EQ(b->m_nImage, a->m_nImage);
    EXPECT_NE(other->m_nImage, a->m_nImage);
    EXPECT_EQ(Count(), count + 1);
    // A rebuild with another icon leaves the sharer its picture; once nobody shows that
    // picture any more, its place is free for the next one.
    const int shared = a->m_nImage;
    a->m_nIconIndex = 4;
    icons::BuildImages(*a);
    EXPECT_NE(a->m_nImage, shared);
    EXPECT_EQ(ListPicture(icons::ListKind::LargeColour, b->m_nImage),
              ListPicture(icons::ListKind::LargeColour, icons::FirstLibraryIndex() + 2));
    b.reset();
    EXPECT_EQ(node(5)->m_nImage, shared);
}

// Within one step a channel: blending a kept picture rounds once more.
void ExpectNear(const Pixels& a, const Pixels& b, const std::string& what) {
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16})
            ASSERT_NEAR(static_cast<int>((a[i] >> shift) & 0xFF),
                        static_cast<int>((b[i] >> shift) & 0xFF), 1)
                << "pixel " << i << ", " << what;
}

// The picture stretched to 24 pixels, kept, and as an icon made and drawn each time.
std::pair<Pixels, Pixels> Stretched(const oVoiceBook& node, uint32_t background) {
    Surface kept(32), direct(32);
    std::fill_n(static_cast<uint32_t*>(kept.bits), 32 * 32, background);
    std::fill_n(static_cast<uint32_t*>(direct.bits), 32 * 32, background);
    icons::DrawLargeStretched(node, kept.dc.get(), 3, 5, 24, false, false);
    const fw::Icon icon = icons::GetIconHandle(node, true, false, false);
    ::DrawIconEx(direct.dc.get(), 3, 5, icon.get(), 24, 24, 0, nullptr, DI_NORMAL);
    return {kept.Read(), direct.Read()};
}

TEST_F(ImageListsTest, KeptPicturesDrawAsTheListDrawsThemAndFollowARebuild) {
    oVoiceBook node;
    node.m_nKind = KIND_ITEM | KIND_COMMAND;
    node.SetIcon(Library().c_str(), 1); // a library icon: mask and colours of its own
    icons::BuildImages(node);
    oVoiceBook category; // the built-in category picture has soft edges (alpha)
    category.m_nKind = KIND_ITEM | KIND_BOOK;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    for (const uint32_t background : {0x00000000u, 0x00FFFFFFu, 0x00804020u}) {
        for (oVoiceBook* shown : {&category, &node}) {
            const int picture = icons::GetImage(*shown);
            std::ostringstream what;
            what << "picture " << picture << ", background " << std::hex << background;
            for (const bool highlighted : {false, true}) {
                Surface kept(32), direct(32);
                std::fill_n(static_cast<uint32_t*>(kept.bits), 32 * 32, background);
                std::fill_n(static_cast<uint32_t*>(direct.bits), 32 * 32, background);
                icons::DrawLarge(*shown, kept.dc.get(), 0, 0, highlighted, false, false);
                ::ImageList_DrawEx(icons::List(icons::ListKind::LargeColour), picture,
                                   direct.dc.get(), 0, 0, 0, 0, CLR_NONE,
                                   highlighted ? highlight : CLR_NONE,
                                   ILD_TRANSPARENT | (highlighted ? ILD_BLEND50 : 0));
                ExpectNear(kept.Read(), direct.Read(),
                           what.str() + ", highlighted " + std::to_string(highlighted));
            }
            const auto stretched = Stretched(*shown, background);
            ExpectNear(stretched.first, stretched.second, what.str() + ", stretched");
        }
    }
    // The same place with another icon: drawn anew, not from what was kept.
    node.m_nIconIndex = 6;
    icons::BuildImages(node);
    EXPECT_EQ(NodeLarge(node, false, false),
              ListPicture(icons::ListKind::LargeColour, icons::FirstLibraryIndex() + 6));
    const auto stretched = Stretched(node, 0x00804020u);
    ExpectNear(stretched.first, stretched.second, "stretched after a rebuild");
}

} // namespace
