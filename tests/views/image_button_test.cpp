// Image buttons: where their picture goes, which picture a disabled one shows, and that a
// disabled one sends no command for a real click; the routine-drawn push button.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/gdi.h"
#include "resource.h"
#include "support/test_util.h"
#include "views/button_face.h"
#include "views/custom_button.h"
#include "views/dib.h"
#include "views/image_button.h"

namespace {

using Pixels = std::vector<uint32_t>;

// Input under Wine on a busy machine can take long; a wait that succeeds ends at once.
constexpr DWORD kPatientWaitMs = 60000;

// What a draw leaves in a top-down 32-bit section of the given size.
template <class DrawFn> Pixels Render(int width, int height, DrawFn draw) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    fw::Bitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDC dc(::CreateCompatibleDC(nullptr));
    fw::SelectObjectScope select(dc.get(), bitmap.get());
    draw(dc.get());
    ::GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    return Pixels(p, p + width * height);
}

// A top-level window holding the buttons; it counts the commands they send.
class Parent : public fw::Window {
public:
    // Without a background the parent paints nothing behind its children.
    explicit Parent(bool background = true) {
        const wchar_t* cls = background ? L"LarkImageButtonTestParent" : L"LarkImageButtonBare";
        RegisterClass(cls, 0, nullptr, background ? ::GetSysColorBrush(COLOR_BTNFACE) : nullptr);
        Create(0, cls, L"image buttons", WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300}, nullptr,
               0);
    }
    int commands = 0;
    int ownClicks = 0; // releases on the parent's own area

protected:
    void OnCommand(UINT id, UINT, HWND) override {
        if (id == 6002)
            ++commands;
    }
    void OnLButtonUp(UINT, POINT) override { ++ownClicks; }
};

HWND CreateButton(CImageButton& button, const Parent& parent, int size, UINT disabledIcon) {
    HWND hwnd = button.Create(0, RECT{50, 50, 50 + size, 50 + size}, parent.hwnd(), 6002);
    button.SetIcons(IDI_NEXT_PAGE_H, false, disabledIcon, false);
    return hwnd;
}

TEST(ImageButton, PictureIsCentredInTheListThatSuitsTheWidth) {
    struct Case {
        int width, height;
        bool pressed;
        int size, x, y;
    } cases[] = {
        {12, 12, false, 16, 0, 0},  {24, 24, false, 16, 4, 4}, {24, 24, true, 16, 5, 5},
        {32, 24, false, 24, 4, 0},  {40, 40, false, 32, 4, 4}, {56, 56, false, 32, 12, 16},
        {56, 56, true, 32, 13, 17}, {39, 40, false, 24, 7, 8}, {31, 12, false, 16, 7, 0},
    };
    for (const Case& c : cases) {
        const CImageButton::ImagePlace p = CImageButton::PlaceImage(c.width, c.height, c.pressed);
        EXPECT_EQ(p.size, c.size) << c.width << "x" << c.height;
        EXPECT_EQ(p.x, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(p.y, c.y) << c.width << "x" << c.height;
    }
    // A picture size from the metrics wins over the width: the largest list not above it.
    const struct {
        int width, picture, size, x;
    } sized[] = {{30, 24, 24, 3}, {40, 32, 32, 4}, {18, 20, 16, 1}, {12, 16, 16, 0}};
    for (const auto& c : sized) {
        const CImageButton::ImagePlace p =
            CImageButton::PlaceImage(c.width, c.width, false, c.picture);
        EXPECT_EQ(p.size, c.size) << c.width;
        EXPECT_EQ(p.x, c.x) << c.width;
    }
}

TEST(ImageButton, ATwelvePixelButtonDrawsTheSixteenPixelPictureClipped) {
    Parent parent;
    CImageButton button;
    ASSERT_TRUE(CreateButton(button, parent, 12, 0)) << ::GetLastError();
    ASSERT_GE(button.NormalImage(), 0);
    const Pixels drawn =
        Render(12, 12, [&](HDC dc) { button.Draw(dc, views::kStateNormal, false, false); });
    const Pixels expected = Render(12, 12, [&](HDC dc) {
        views::DrawButtonFace(button.hwnd(), dc, RECT{0, 0, 12, 12}, views::kStateNormal, false);
        ::ImageList_Draw(CImageButton::SharedList(16), button.NormalImage(), dc, 0, 0,
                         ILD_TRANSPARENT);
    });
    EXPECT_EQ(drawn, expected);
}

TEST(ImageButton, APlainFaceIsTheFaceColourAlsoWhereTheParentPaintsNothing) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (bool background : {true, false}) {
        Parent parent(background);
        CImageButton button;
        ASSERT_TRUE(CreateButton(button, parent, 24, 0)) << ::GetLastError();
        const Pixels drawn =
            Render(24, 24, [&](HDC dc) { button.Draw(dc, views::kStateNormal, false, false); });
        EXPECT_EQ(drawn[0] & 0xFFFFFF,
                  GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face));
    }
}

TEST(ImageButton, ButtonsOfOneIconShareItsPlace) {
    Parent parent;
    CImageButton first, second;
    ASSERT_TRUE(CreateButton(first, parent, 24, IDI_NEXT_PAGE_H_OFF)) << ::GetLastError();
    const int places = ::ImageList_GetImageCount(CImageButton::SharedList(24));
    ASSERT_TRUE(CreateButton(second, parent, 24, IDI_NEXT_PAGE_H_OFF)) << ::GetLastError();
    EXPECT_EQ(second.NormalImage(), first.NormalImage());
    EXPECT_EQ(second.DisabledImage(), first.DisabledImage());
    EXPECT_EQ(::ImageList_GetImageCount(CImageButton::SharedList(24)), places);
}

TEST(ImageButton, DisabledShowsItsDisabledPictureOrElseItsNormalOne) {
    struct Case {
        UINT disabledIcon;
        bool same;
    } cases[] = {{0, true}, {IDI_NEXT_PAGE_H_OFF, false}};
    for (const Case& c : cases) {
        Parent parent;
        CImageButton button;
        ASSERT_TRUE(CreateButton(button, parent, 24, c.disabledIcon)) << ::GetLastError();
        EXPECT_EQ(button.DisabledImage() == button.NormalImage(), c.same);
        const auto draw = [&](bool disabled) {
            return Render(24, 24,
                          [&](HDC dc) { button.Draw(dc, views::kStateNormal, false, disabled); });
        };
        EXPECT_EQ(draw(true) == draw(false), c.same) << "disabled picture " << c.disabledIcon;
    }
}

TEST(ImageButton, APressWithoutAMoveOverTheButtonDoesNotKeepTheMouse) {
    Parent parent;
    CImageButton button;
    ASSERT_TRUE(CreateButton(button, parent, 24, 0)) << ::GetLastError();
    ::SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(::GetCapture(), button.hwnd());
    for (const LPARAM at : {MAKELPARAM(5, 5), MAKELPARAM(-40, -40)}) {
        ::SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, at);
        EXPECT_NE(::GetCapture(), button.hwnd());
    }
    EXPECT_EQ(parent.commands, 1);
}

// The faces a routine was asked for: true for a pressed one.
std::vector<bool> g_faces;
void RecordFace(HDC, bool pressed, const RECT&) {
    g_faces.push_back(pressed);
}

TEST(CustomButton, PaintsItselfHeldWhilePressedAndClicksOnlyWhenReleasedInside) {
    Parent parent;
    CCustomButton button;
    ASSERT_TRUE(button.Create(0, RECT{50, 50, 74, 74}, parent.hwnd(), 6002, &RecordFace))
        << ::GetLastError();
    const struct {
        LPARAM release;
        int commands;
    } cases[] = {{MAKELPARAM(5, 5), 1}, {MAKELPARAM(-40, -40), 1}};
    for (const auto& c : cases) {
        g_faces.clear();
        ::SendMessageW(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(g_faces, std::vector<bool>{true});
        ::SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, c.release);
        EXPECT_EQ(g_faces, (std::vector<bool>{true, false}));
        EXPECT_NE(::GetCapture(), button.hwnd());
        EXPECT_EQ(parent.commands, c.commands);
    }
}

TEST(Dib, PaletteComesFromTheColourTableElseIsTheHalftoneOne) {
    struct Case {
        UINT id;
        LONG width, height;
        WORD bits;
        bool table;
    } cases[] = {{IDB_CHECKED_PATTERN, 8, 8, 8, true}, {IDB_PICTURES_SMALL, 208, 16, 32, false}};
    for (const Case& c : cases) {
        CDib dib;
        ASSERT_TRUE(dib.Load(c.id)) << c.id << ": " << ::GetLastError();
        EXPECT_EQ(dib.info().bmWidth, c.width);
        EXPECT_EQ(dib.info().bmHeight, c.height);
        EXPECT_EQ(dib.info().bmBitsPixel, c.bits);
        ASSERT_TRUE(dib.palette());
        PALETTEENTRY first[2]{};
        ASSERT_EQ(::GetPaletteEntries(dib.palette(), 0, 2, first), 2u);
        const bool patternColours = first[0].peRed == 255 && first[0].peBlue == 255 &&
                                    first[1].peRed == 192 && first[1].peGreen == 192;
        EXPECT_EQ(patternColours, c.table) << c.id;
        dib.Destroy();
        EXPECT_FALSE(dib.IsValid());
        EXPECT_EQ(dib.info().bmWidth, 0);
    }
}

// Mouse-button releases this thread takes from its queue, whichever window they are for.
int g_releases = 0;
LRESULT CALLBACK CountReleases(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_LBUTTONUP)
        ++g_releases;
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void Click(POINT screen) {
    INPUT in[3]{};
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = static_cast<LONG>((static_cast<int64_t>(screen.x) * 65536 + w - 1) / w);
    in[0].mi.dy = static_cast<LONG>((static_cast<int64_t>(screen.y) * 65536 + h - 1) / h);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].type = in[2].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(3, in, sizeof(INPUT)), 3u) << ::GetLastError();
}

TEST(ImageButton, ADisabledButtonSendsNoCommandAndAClickLeavesNoCapture) {
    Parent parent;
    CImageButton button;
    ASSERT_TRUE(CreateButton(button, parent, 24, IDI_NEXT_PAGE_H_OFF)) << ::GetLastError();
    ::SetForegroundWindow(parent.hwnd());
    ::UpdateWindow(parent.hwnd());
    HHOOK hook = ::SetWindowsHookExW(WH_MOUSE, &CountReleases, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook) << ::GetLastError();
    RECT r{};
    ::GetWindowRect(button.hwnd(), &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};

    g_releases = 0;
    ::EnableWindow(button.hwnd(), FALSE);
    Click(centre);
    EXPECT_TRUE(test::WaitUntil([] { return g_releases >= 1; }, kPatientWaitMs))
        << "first click lost";
    ::EnableWindow(button.hwnd(), TRUE);
    Click(centre);
    // The enabled click proves the input arrives; the disabled one came before it.
    EXPECT_TRUE(test::WaitUntil([&] { return parent.commands >= 1; }, kPatientWaitMs));
    EXPECT_EQ(parent.commands, 1);
    // The button no longer holds the mouse: a click beside it reaches the parent.
    Click(POINT{r.left - 30, r.top - 30});
    EXPECT_TRUE(test::WaitUntil([&] { return parent.ownClicks >= 1; }, kPatientWaitMs));
    ::UnhookWindowsHookEx(hook);
}

} // namespace
