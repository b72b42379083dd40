// What the whole screen shows of the program's windows while they are open: the first run's
// question and the tooltip of the bar show their content, not a box of one dark colour.
#include "bar/bar_process_fixture.h"

#include "model/data_path.h"
#include "screen_shot.h"
#include "support/dialog_answer.h"

namespace {

using namespace bartest;

std::string Describe(const BoxLook& look) {
    char text[96];
    snprintf(text, sizeof(text), "%zu colours, most common %06lx (%.0f%%)", look.colours,
             static_cast<unsigned long>(look.common), look.commonShare * 100);
    return text;
}

// The visible tooltip window of process `pid`, if any.
HWND VisibleTipOf(DWORD pid) {
    struct Find {
        DWORD pid;
        HWND found;
    } f{pid, nullptr};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            wchar_t cls[128] = {};
            ::GetClassNameW(h, cls, 128);
            const std::wstring name(cls), tail(L"tooltips_class32");
            const bool tip = name.size() >= tail.size() &&
                             _wcsicmp(name.c_str() + name.size() - tail.size(), tail.c_str()) == 0;
            if (owner != f->pid || !tip || !::IsWindowVisible(h))
                return TRUE;
            f->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

class ScreenContentTest : public BarWindowTest {};

TEST_F(ScreenContentTest, TheFirstRunsQuestionShowsItsContent) {
    ASSERT_TRUE(::CopyFileW((test::ExeFolder() + L"LarkB.ini").c_str(),
                            (dir_ / L"LarkB.ini").c_str(), FALSE))
        << ::GetLastError();
    const std::wstring dataFile = test::DataFolder() + L"\\" + model::kDataFileName;
    ::DeleteFileW(dataFile.c_str());
    test::LarkProcess lark(exe_);
    ASSERT_TRUE(lark.Start()) << ::GetLastError();
    HWND question = nullptr;
    ASSERT_TRUE(test::WaitUntil(
        [&] { return (question = test::FindDialogOf(lark.Id(), IDYES)) != nullptr; }, 60000));
    // A window may take a moment to paint; one that stays a dark box fails.
    BoxLook look;
    for (int shot = 0; shot < 5 && !ShowsContent(look); ++shot)
        look = LookAt(TakeScreenShot(), WindowRect(question));
    EXPECT_TRUE(ShowsContent(look)) << Describe(look);
    test::PressButton(question, IDNO);
    EXPECT_TRUE(test::WaitUntil([&] { return test::FileExists(dataFile); }, test::kPatientMs));
    EXPECT_TRUE(test::WaitUntil([&] { return lark.WaitForBar() != nullptr; }, test::kPatientMs));
    ASSERT_TRUE(test::WaitUntil([&] { return test::FindProgressWindow(lark.Id()) == nullptr; },
                                test::kPatientMs));
    Exit(lark);
}

TEST_F(ScreenContentTest, TheTipOfTheBarShowsItsContent) {
    test::LarkProcess lark(exe_);
    HWND bar = Start(lark);
    ASSERT_TRUE(WaitForRect(bar, Docked(3, 84)));
    const LONG top = screen_.bottom - 84;
    BoxLook look;
    bool seen = false;
    // The tip goes after 3 s: a picture counts only if the tip was there before and after.
    for (int attempt = 0; attempt < 5 && !ShowsContent(look); ++attempt) {
        MouseTo(POINT{640, 400});
        MouseTo(POINT{7, top + 6}); // the menu button
        MouseTo(POINT{8, top + 7});
        HWND tip = nullptr;
        if (!test::WaitUntil([&] { return (tip = VisibleTipOf(lark.Id())) != nullptr; }, 4000))
            continue;
        const RECT box = WindowRect(tip);
        const ScreenShot shot = TakeScreenShot();
        if (VisibleTipOf(lark.Id()) != tip || !(WindowRect(tip) == box))
            continue;
        seen = true;
        look = LookAt(shot, box);
    }
    ASSERT_TRUE(seen) << "the tip was never shown for the whole of a screen shot";
    EXPECT_TRUE(ShowsContent(look)) << Describe(look);
    Exit(lark);
}

} // namespace
