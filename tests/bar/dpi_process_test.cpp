// The bar at the screen's resolution: run as the test "bar" at 96 DPI and as "bar_dpi144" and
// "bar_dpi192" in sessions whose screen has 144 or 192 (LARK_TEST_LOGPIXELS).
#include "bar_process_fixture.h"

#include <cstdlib>

#include "bar/test_hooks.h"
#include "framework/gdi.h"
#include "model/picture_numbers.h"
#include "model/voice_book.h"
#include "resource.h"
#include "screen/screen_shot.h"
#include "support/dialog_answer.h"

namespace {

using namespace bartest;

// What the first start gives at each resolution: very large buttons and the tab strip.
struct AtDpi {
    int dpi;
    int thickness;   // the docked bar
    RECT exitButton; // in the bar, docked at the bottom
    LONG toolBar;    // where the program button bar starts
    int picture;     // the large pictures' size
    UINT strip;      // and the program's strip of pictures of that size
    SIZE okButton;   // a dialog's 50 x 14 units, in the dialog font of the resolution
};
constexpr AtDpi kRows[] = {
    {96, 84, {2, 72, 13, 83}, 19, 32, IDB_PICTURES_LARGE, {88, 23}},
    {144, 126, {3, 107, 20, 124}, 29, 48, IDB_PICTURES_48, {125, 33}},
    {192, 168, {4, 144, 26, 166}, 38, 64, IDB_PICTURES_64, {163, 42}},
};

const AtDpi* RowFor(int dpi) {
    for (const AtDpi& r : kRows)
        if (r.dpi == dpi)
            return &r;
    return nullptr;
}

int ScreenDpi() {
    const HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(nullptr, dc);
    return dpi;
}

RECT ChildRect(HWND bar, int id) {
    RECT r = WindowRect(::GetDlgItem(bar, id));
    ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The bar moves its children after itself: they are waited for.
::testing::AssertionResult ChildrenBecome(HWND bar, const RECT& exitButton, LONG toolBar) {
    if (test::WaitUntil(
            [&] {
                return ChildRect(bar, kExit) == exitButton && ChildRect(bar, 6000).left == toolBar;
            },
            test::kPatientMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "exit button " << ::testing::PrintToString(ChildRect(bar, kExit))
           << ", program button bar from " << ChildRect(bar, 6000).left;
}

// WM_DPICHANGED as the system sends it when the bar goes to a monitor of another resolution
// (Wine never does): the suggested rectangle lies in the bar's own memory.
void PostDpiChanged(DWORD pid, HWND bar, int dpi, const RECT& suggested) {
    const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    ASSERT_NE(process, nullptr) << test::SystemErrorText(::GetLastError());
    void* remote =
        ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const DWORD allocError = ::GetLastError();
    const bool written =
        remote && ::WriteProcessMemory(process, remote, &suggested, sizeof(RECT), nullptr);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(process);
    ASSERT_NE(remote, nullptr) << test::SystemErrorText(allocError);
    ASSERT_TRUE(written) << test::SystemErrorText(writeError);
    ASSERT_TRUE(
        ::PostMessageW(bar, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote)))
        << test::SystemErrorText(::GetLastError());
}

LRESULT Query(HWND bar, TestQuery what) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(bar, ::RegisterWindowMessageW(L"LarkRunBar.TestQuery"), what, 0,
                               SMTO_NORMAL, test::kPatientMs, &answer))
        ADD_FAILURE() << test::SystemErrorText(::GetLastError());
    return static_cast<LRESULT>(answer);
}

// Picture `n` of a strip of the program's (this test program has its resources), top to
// bottom: the colours of its opaque pixels, -1 for the others.
std::vector<long> SourcePicture(UINT strip, int size, int n) {
    fw::Bitmap dib(
        static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(strip),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION ds{};
    if (!dib || ::GetObjectW(dib.get(), sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBitsPixel != 32)
        return {};
    std::vector<long> picture;
    for (int y = 0; y < size; ++y) // the rows are stored bottom-up
        for (int x = n * size; x < (n + 1) * size; ++x) {
            const auto* p = static_cast<const uint8_t*>(ds.dsBm.bmBits) +
                            (ds.dsBm.bmHeight - 1 - y) * ds.dsBm.bmWidthBytes + x * 4;
            picture.push_back(p[3] == 255 ? static_cast<long>(RGB(p[2], p[1], p[0])) : -1);
        }
    return picture;
}

// Whether some place in `box` of the screen shows every opaque pixel of `picture`.
::testing::AssertionResult ShowsPicture(const ScreenShot& shot, const RECT& box,
                                        const std::vector<long>& picture, int size) {
    size_t fewest = picture.size();
    for (LONG top = box.top; top + size <= box.bottom; ++top)
        for (LONG left = box.left; left + size <= box.right; ++left) {
            size_t wrong = 0;
            for (size_t i = 0; i < picture.size(); ++i)
                wrong +=
                    picture[i] >= 0 &&
                    static_cast<long>(shot.Pixel(left + i % size, top + i / size)) != picture[i];
            if (wrong == 0)
                return ::testing::AssertionSuccess();
            fewest = std::min(fewest, wrong);
        }
    return ::testing::AssertionFailure() << "at best " << fewest << " pixels differ";
}

class BarDpiTest : public BarWindowTest {
protected:
    void SetUp() override {
        BarWindowTest::SetUp();
        dpi_ = ScreenDpi();
        // The session must have the resolution it was made for, or nothing here is proved.
        const char* wanted = std::getenv("LARK_TEST_LOGPIXELS");
        ASSERT_EQ(dpi_, wanted ? std::atoi(wanted) : 96) << "the session's LogPixels did not take";
        row_ = RowFor(dpi_);
        ASSERT_NE(row_, nullptr) << "no expectations at " << dpi_ << " DPI";
    }
    int dpi_ = 0;
    const AtDpi* row_ = nullptr;
};

TEST_F(BarDpiTest, FirstStartIsLaidOutAtTheScreensResolution) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, row_->thickness)))
        << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(ChildrenBecome(bar, row_->exitButton, row_->toolBar));
    Exit(lark);
    // Stored with the resolution it was made at.
    EXPECT_EQ(ReadPlacementValue(L"DockSizeBottom"), row_->thickness);
    EXPECT_EQ(ReadPlacementValue(L"Dpi"), dpi_);
}

TEST_F(BarDpiTest, SizesOfAnOlderBuildAreIn96DpiUnits) {
    test::WriteRegDword(kAppBarInfo, L"State", 3);
    for (const wchar_t* name : {L"DockSizeLeft", L"DockSizeTop", L"DockSizeRight"})
        test::WriteRegDword(kAppBarInfo, name, 100);
    test::WriteRegDword(kAppBarInfo, L"DockSizeBottom", 96);
    const wchar_t* floatRect[] = {L"FloatRectLeft", L"FloatRectTop", L"FloatRectRight",
                                  L"FloatRectBottom"};
    const DWORD stored[] = {96, 96, 480, 192};
    for (int i = 0; i < 4; ++i)
        test::WriteRegDword(kAppBarInfo, floatRect[i], stored[i]);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    EXPECT_TRUE(WaitForRect(bar, Docked(3, dpi_))) << ::testing::PrintToString(WindowRect(bar));
    Command(bar, kCenter);
    const RECT floating{dpi_, dpi_, 5 * dpi_, 2 * dpi_};
    EXPECT_TRUE(WaitForRect(bar, floating)) << ::testing::PrintToString(WindowRect(bar));
    Exit(lark);
}

TEST_F(BarDpiTest, MovingToAMonitorOfAnotherResolutionRescalesAndKeepsTheEdge) {
    // Up to 192 from 96; down to 96 from the others.
    const AtDpi& other = *RowFor(dpi_ == 96 ? 192 : 96);
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, row_->thickness)));
    const LRESULT nameHeight = Query(bar, TEST_QUERY_TAB_NAME_HEIGHT);
    PostDpiChanged(lark.Id(), bar, other.dpi, Docked(3, other.thickness));
    EXPECT_TRUE(WaitForRect(bar, Docked(3, other.thickness)))
        << ::testing::PrintToString(WindowRect(bar));
    EXPECT_TRUE(ChildrenBecome(bar, other.exitButton, other.toolBar));
    // The pictures are remade from sources of the new size (the message was handled above).
    EXPECT_EQ(Query(bar, TEST_QUERY_LARGE_PICTURE), other.picture);
    // And the names are written in a font made for it (within the rounding of its cells).
    EXPECT_NEAR(Query(bar, TEST_QUERY_TAB_NAME_HEIGHT), nameHeight * other.dpi / dpi_, 2);

    // Floating, the bar takes the system's rectangle.
    Command(bar, kCenter);
    EXPECT_TRUE(
        test::WaitUntil([&] { return (::GetWindowLongPtrW(bar, GWL_STYLE) & WS_THICKFRAME) != 0; },
                        test::kPatientMs));
    const RECT suggested{100, 120, 700, 300};
    PostDpiChanged(lark.Id(), bar, dpi_, suggested);
    EXPECT_TRUE(WaitForRect(bar, suggested)) << ::testing::PrintToString(WindowRect(bar));
    Exit(lark);
    EXPECT_EQ(ReadPlacementValue(L"Dpi"), dpi_);
    EXPECT_EQ(ReadPlacementValue(L"FloatRectRight"), 700);
    // Docked sizes went up and came back down.
    EXPECT_EQ(ReadPlacementValue(L"DockSizeBottom"), row_->thickness);
}

// The screen shows a button's picture pixel for pixel as the program's picture of the size
// the resolution asks for, not a smaller one stretched.
TEST_F(BarDpiTest, AButtonShowsThePictureOfItsSizeOnTheScreen) {
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    oVoiceBook* category = root.AddChild(CategoryFields(L"Pictures"));
    NodeRecordFields web = ButtonFields(L"Web", L"C:\\gone\\web.exe"); // no icon of its own
    web.defaultImage = model::kPictureWeb;
    category->AddChild(web);
    ASSERT_TRUE(root.SaveFile(model::DataFilePath(model::kDataFileName))) << ::GetLastError();
    const std::vector<long> picture = SourcePicture(row_->strip, row_->picture, model::kPictureWeb);
    ASSERT_FALSE(picture.empty());

    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, row_->thickness)));
    MouseTo(POINT{screen_.right / 2, screen_.top + 10}); // away from the bar: no hover
    HWND button = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return (button = ::GetDlgItem(::GetDlgItem(bar, 6000), 10000)) != nullptr; },
        test::kPatientMs));
    ::testing::AssertionResult shown = ::testing::AssertionFailure();
    // Painted a moment after the bar is in place: shots until it shows.
    test::WaitUntil(
        [&] {
            return shown =
                       ShowsPicture(TakeScreenShot(), WindowRect(button), picture, row_->picture);
        },
        test::kPatientMs);
    EXPECT_TRUE(shown) << ::testing::PrintToString(WindowRect(button));
    Exit(lark);
}

// A dialog opened from the bar comes up at the bar's resolution: the About box's OK button,
// 50 by 14 dialog units, grows with the font the dialog is made in (Wine makes dialogs at the
// screen's resolution, which here is the bar's).
TEST_F(BarDpiTest, ADialogOpenedFromTheBarIsAtItsResolution) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    Command(bar, ID_APP_ABOUT);
    HWND about = nullptr;
    ASSERT_TRUE(
        test::WaitUntil([&] { return (about = test::FindDialogOf(lark.Id(), IDOK)) != nullptr; },
                        test::kPatientMs));
    const RECT ok = WindowRect(::GetDlgItem(about, IDOK));
    EXPECT_EQ(ok.right - ok.left, row_->okButton.cx);
    EXPECT_EQ(ok.bottom - ok.top, row_->okButton.cy);
    // On the bar's monitor, whose resolution it was made for.
    EXPECT_EQ(::MonitorFromWindow(about, MONITOR_DEFAULTTONULL),
              ::MonitorFromWindow(bar, MONITOR_DEFAULTTONULL));
    test::PressButton(about, IDOK);
    EXPECT_TRUE(test::WaitUntil([&] { return !::IsWindow(about); }, test::kPatientMs));
    Exit(lark);
}

} // namespace
