// The progress window and the bookmark question, as the user sees them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/resources.h"
#include "resource.h"
#include "setup/bookmark_question.h"
#include "setup/first_scan_dlg.h"
#include "support/dialog_answer.h"
#include "support/test_util.h"

namespace {

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[512] = {};
    ::GetWindowTextW(hwnd, buf, 512);
    return buf;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[64] = {};
    ::GetClassNameW(hwnd, buf, 64);
    return buf;
}

// The pixels a window shows now.
std::vector<uint32_t> Capture(HWND hwnd) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    const int w = rc.right, h = rc.bottom;
    std::vector<uint32_t> pixels;
    if (w <= 0 || h <= 0)
        return pixels;
    HDC window = ::GetDC(hwnd);
    HDC memory = ::CreateCompatibleDC(window);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(window, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bmp);
    ::BitBlt(memory, 0, 0, w, h, window, 0, 0, SRCCOPY);
    ::GdiFlush();
    pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
    ::SelectObject(memory, old);
    ::DeleteObject(bmp);
    ::DeleteDC(memory);
    ::ReleaseDC(hwnd, window);
    return pixels;
}

TEST(FirstScanDlgTest, ShowsTheTextAndPlaysTheClip) {
    CFirstScanDlg dlg;
    dlg.SetText(fw::LoadResString(IDS_FIRST_RUN));
    HWND hwnd = dlg.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(WindowText(hwnd), L"Preparing larkRunBar...");
    EXPECT_EQ(WindowText(::GetDlgItem(hwnd, IDC_SCAN_TEXT)),
              L"larkRunBar is searching program files and registering their icons for first "
              L"running.");
    HWND animation = ::GetDlgItem(hwnd, IDC_SCAN_ANIMATION);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(ClassOf(animation), L"SysAnimate32");
    // The clip moves: what the control shows changes from moment to moment, also after
    // the clip's own length (24 frames of 90 ms), since it repeats.
    const std::vector<uint32_t> first = Capture(animation);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(test::WaitUntil([&] { return Capture(animation) != first; }, test::kPatientMs));
    test::PumpMessages(2500);
    const std::vector<uint32_t> third = Capture(animation);
    EXPECT_TRUE(test::WaitUntil([&] { return Capture(animation) != third; }, test::kPatientMs))
        << "it repeats without end";

    bool pleaseWait = false;
    for (HWND c = ::GetWindow(hwnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        pleaseWait = pleaseWait || WindowText(c) == L"Please Wait...";
    EXPECT_TRUE(pleaseWait);

    dlg.Destroy();
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(FirstScanDlgTest, ClipIsAnUncompressedAviInTheProgramResources) {
    HMODULE module = fw::ProgramModule();
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_SCAN_AVI), L"AVI");
    ASSERT_NE(res, nullptr);
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, res)));
    const DWORD size = ::SizeofResource(module, res);
    ASSERT_GT(size, 12u);
    EXPECT_EQ(std::string(bytes, 4), "RIFF");
    EXPECT_EQ(std::string(bytes + 8, 4), "AVI ");
    const std::string all(bytes, size);
    EXPECT_NE(all.find("vidsDIB "), std::string::npos);
    EXPECT_NE(all.find("idx1"), std::string::npos);
}

class TopWindow {
public:
    TopWindow()
        : top_(::CreateWindowExW(0, L"STATIC", L"bar", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                                 nullptr, nullptr, nullptr)),
          child_(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, top_, nullptr,
                                   nullptr, nullptr)) {}
    ~TopWindow() { ::DestroyWindow(top_); }
    HWND top() const { return top_; }
    HWND child() const { return child_; }

private:
    HWND top_, child_;
};

TEST(BookmarkQuestionTest, AsksYesOrNoOwnedByTheBar) {
    TopWindow bar;
    for (const int button : {IDYES, IDNO}) {
        test::DialogAnswerer answer(button);
        setup::MessageBoxBookmarkQuestion question(bar.child());
        const bool yes = question.AskCreateBookmarks();
        ASSERT_TRUE(answer.Finish());
        EXPECT_EQ(yes, button == IDYES);
        const test::SeenDialog& seen = answer.Seen();
        EXPECT_EQ(seen.caption, L"larkRunBar ");
        EXPECT_EQ(seen.text, L"larkRunBar can create bookmark buttons for frequently visited "
                             L"websites.\nDo you want to create the default bookmark buttons ?");
        EXPECT_EQ(seen.owner, bar.top());
        EXPECT_TRUE(seen.hasYes);
        EXPECT_TRUE(seen.hasNo);
        EXPECT_FALSE(seen.hasOk);
        EXPECT_EQ(seen.icon, ::LoadIconW(nullptr, IDI_QUESTION));
    }
}

} // namespace
