// Pictures of button targets: the shell's icon of the program, or the chosen default.
#include <gtest/gtest.h>

#include "ui/image_lists.h"
#include "model/voice_book.h"
#include "shell/program_icon.h"

namespace {

TEST(NodeIcons, AButtonShowsItsTargetsIconOrItsDefaultPicture) {
    icons::BuildImageLists();
    icons::SetTargetIconSource(&shell::GetNodeTargetIcons);
    const int fixed = ::ImageList_GetImageCount(icons::List(icons::ListKind::LargeColour));
    struct Case {
        const wchar_t* command;
        int32_t chosen;
        bool own;
    } cases[] = {
        {L"notepad.exe", 0, true},
        {L"http://www.example.com/", 10, false},
        {L"C:\\no\\such\\program.exe", 4, false},
        {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 4, true}, // My Computer: no file
        {L"C:\\", 4, true},
    };
    for (const Case& c : cases) {
        oVoiceBook node;
        node.m_nKind = KIND_ITEM | KIND_COMMAND;
        node.SetCommand(c.command);
        node.m_nDefaultImage = c.chosen;
        const int picture = icons::GetImage(node);
        if (c.own)
            EXPECT_GE(picture, fixed) << c.command;
        else
            EXPECT_EQ(picture, c.chosen) << c.command;
        EXPECT_EQ(node.m_nGrayImage, picture);
    }

    // Before the first paint is over the shell is not asked: the default picture is drawn and
    // nothing is kept, so the picture is made when the button is drawn after the wait.
    oVoiceBook node;
    node.m_nKind = KIND_ITEM | KIND_COMMAND;
    node.SetCommand(L"notepad.exe");
    icons::DeferTargetPictures();
    EXPECT_EQ(icons::GetImage(node), icons::kPictureMissing);
    EXPECT_EQ(node.m_nImage, -1);
    EXPECT_TRUE(icons::EndDeferredPictures());
    EXPECT_FALSE(icons::EndDeferredPictures());
    EXPECT_GE(icons::GetImage(node), fixed);
    icons::SetTargetIconSource(nullptr);
}

} // namespace
