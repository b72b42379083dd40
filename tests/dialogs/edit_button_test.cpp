// The button dialog through its real window: checks of OK, browsing, the window state and
// the web picture.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialog_script.h"
#include "dialogs/button_values.h"
#include "dialogs/edit_program_command_dlg.h"
#include "ui/image_lists.h"
#include "framework/text.h"
#include "model/voice_book.h"
#include "resource.h"
#include "support/test_util.h"

namespace {

// Runs the dialog for `node` (or none) while `drive` works its window.
INT_PTR RunButtonDialog(oVoiceBook* node, const std::function<void(HWND)>& drive,
                        dialogs::ButtonValues* values = nullptr) {
    INT_PTR result = 0;
    dialogs::RecentIconFiles recent;
    CEditProgramCommandDlg dlg(node, recent);
    script::RunDialog(
        L"Edit Button",
        [&] {
            result = dlg.DoModal(nullptr);
            if (values)
                *values = dlg.Values();
        },
        drive);
    return result;
}

std::wstring Notepad() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\notepad.exe";
}

TEST(EditButtonDlgTest, NamesTooShortOrBlankAreRefusedWithTheFocusOnTheName) {
    const struct {
        const wchar_t* name;
        const wchar_t* target;
        const wchar_t* message;
        HICON icon;
        int focus;
    } cases[] = {
        {L"a", L"notepad.exe", L"Please enter minimun 2 characters.",
         ::LoadIconW(nullptr, IDI_EXCLAMATION), IDC_BUTTON_NAME},
        {L"Editor", L"", L"Please enter minimun 1 characters.",
         ::LoadIconW(nullptr, IDI_EXCLAMATION), IDC_TARGET},
        {L"   ", L"notepad.exe", L"There is no name.", ::LoadIconW(nullptr, IDI_INFORMATION),
         IDC_BUTTON_NAME},
        {L"Editor", L" \t", L"There is no execution file name or folder.",
         ::LoadIconW(nullptr, IDI_INFORMATION), IDC_TARGET},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.message)));
        const INT_PTR result = RunButtonDialog(nullptr, [&](HWND dlg) {
            script::SetText(dlg, IDC_BUTTON_NAME, c.name);
            script::SetText(dlg, IDC_TARGET, c.target);
            script::Press(dlg, IDOK);
            const test::SeenDialog box = script::AnswerMessageBox(dlg);
            EXPECT_EQ(box.text, c.message);
            EXPECT_EQ(box.caption, L"larkRunBar ");
            EXPECT_EQ(box.icon, c.icon);
            EXPECT_TRUE(test::WaitUntil(
                [&] { return script::Focus(dlg) == ::GetDlgItem(dlg, c.focus); }, script::kWaitMs));
            EXPECT_EQ(script::Text(dlg, IDC_BUTTON_NAME), c.name) << "the input stays";
            script::Press(dlg, IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
}

TEST(EditButtonDlgTest, BrowsedProgramNamesTheButtonAndClearsAChosenIcon) {
    NodeRecordFields old = ButtonFields(L"Old", L"old.exe");
    old.arguments = L"-x";
    old.iconFile = L"C:\\icons.dll";
    old.iconIndex = 4;
    oVoiceBook node(old);
    HICON before = nullptr, after = nullptr;
    const INT_PTR result = RunButtonDialog(&node, [&](HWND dlg) {
        before = reinterpret_cast<HICON>(
            ::SendDlgItemMessageW(dlg, IDC_ICON_PREVIEW, STM_GETICON, 0, 0));
        script::Press(dlg, IDC_BROWSE);
        ASSERT_TRUE(script::AnswerFileOpen(dlg, Notepad()));
        ASSERT_TRUE(test::WaitUntil([&] { return script::Text(dlg, IDC_TARGET) == Notepad(); },
                                    script::kWaitMs));
        EXPECT_EQ(script::Text(dlg, IDC_BUTTON_NAME), L"notepad");
        EXPECT_EQ(script::Text(dlg, IDC_ARGUMENTS), L"-x");
        after = reinterpret_cast<HICON>(
            ::SendDlgItemMessageW(dlg, IDC_ICON_PREVIEW, STM_GETICON, 0, 0));
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(node.m_strName, L"notepad");
    EXPECT_EQ(node.m_strCommand, Notepad());
    EXPECT_EQ(node.m_strIconFile, L"");
    EXPECT_EQ(node.m_nIconIndex, 0);
}

TEST(EditButtonDlgTest, CancelledFolderChooserKeepsNameAndTarget) {
    oVoiceBook node(ButtonFields(L"Editor", L"notepad.exe"));
    RunButtonDialog(&node, [&](HWND dlg) {
        script::SetText(dlg, IDC_BUTTON_NAME, L"Typed");
        script::Press(dlg, IDC_BROWSE_TARGET_FOLDER);
        ASSERT_TRUE(script::AnswerFolderChooser(dlg, L""));
        EXPECT_EQ(script::Text(dlg, IDC_BUTTON_NAME), L"Typed");
        EXPECT_EQ(script::Text(dlg, IDC_TARGET), L"notepad.exe");

        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        script::Press(dlg, IDC_BROWSE_TARGET_FOLDER);
        ASSERT_TRUE(script::AnswerFolderChooser(dlg, windows));
        EXPECT_TRUE(test::WaitUntil(
            [&] { return fw::EqualsNoCase(script::Text(dlg, IDC_TARGET), windows); },
            script::kWaitMs));
        script::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(node.m_strName, L"Editor") << "Cancel changes nothing";
}

TEST(EditButtonDlgTest, MinimizedIsStoredAsTwoAndSelectedAgainOnReopening) {
    oVoiceBook node(ButtonFields(L"Editor", L"notepad.exe"));
    RunButtonDialog(&node, [&](HWND dlg) {
        EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_SHOW_STATE, CB_GETCURSEL, 0, 0), 0);
        ::SendDlgItemMessageW(dlg, IDC_SHOW_STATE, CB_SETCURSEL, 1, 0);
        script::Press(dlg, IDOK);
    });
    EXPECT_EQ(node.m_nShowCmd, 2);
    LRESULT selected = -1;
    wchar_t text[64] = {};
    RunButtonDialog(&node, [&](HWND dlg) {
        selected = ::SendDlgItemMessageW(dlg, IDC_SHOW_STATE, CB_GETCURSEL, 0, 0);
        ::SendDlgItemMessageW(dlg, IDC_SHOW_STATE, CB_GETLBTEXT, selected,
                              reinterpret_cast<LPARAM>(text));
        script::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(selected, 1);
    EXPECT_STREQ(text, L"Minimized");
}

TEST(EditButtonDlgTest, WebAddressGetsTheWebPictureUnlessItHasAnIcon) {
    const struct {
        const wchar_t* iconFile;
        int expectedPicture;
    } cases[] = {{L"", icons::kPictureWeb}, {L"C:\\web.ico", -1}};
    for (const auto& c : cases) {
        NodeRecordFields site = ButtonFields(L"Site");
        site.iconFile = c.iconFile;
        oVoiceBook node(site);
        dialogs::ButtonValues values;
        RunButtonDialog(
            &node,
            [&](HWND dlg) {
                script::SetText(dlg, IDC_TARGET, L"  https://example.org/  ");
                script::Press(dlg, IDOK);
            },
            &values);
        EXPECT_EQ(node.m_strCommand, L"https://example.org/") << "trimmed";
        EXPECT_EQ(node.m_nDefaultImage, c.expectedPicture);
        EXPECT_EQ(node.m_strIconFile, c.iconFile);
        EXPECT_EQ(values.command, node.m_strCommand);
    }
}

} // namespace
