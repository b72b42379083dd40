// The pictures the shipped template gives its categories and web buttons fit them, by the
// list of what each picture shows that is kept beside the art generator.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <map>
#include <sstream>

#include "model/picture_numbers.h"
#include "setup/program_index.h"
#include "setup/template_reader.h"
#include "setup_test_util.h"
#include "shell/launch.h"
#include "support/test_util.h"

namespace {

TEST(TemplatePicturesTest, EveryChosenPictureShowsWhatItsNodeHolds) {
    // picture_subjects.txt (laid beside the tests): number, drawing, subjects.
    std::map<int, std::string> subjects;
    std::ifstream file(test::Narrow(test::ExeFolder() + L"picture_subjects.txt"));
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        int number = 0;
        std::string drawing, words;
        if (fields >> number >> drawing && std::getline(fields, words))
            subjects[number] = words + " ";
    }
    // The list names every picture there is (gen_art.py refuses gaps).
    const UINT library =
        ::ExtractIconExW((test::ExeFolder() + L"larkb.icl").c_str(), -1, nullptr, nullptr, 0);
    EXPECT_EQ(subjects.size(), model::kBuiltInPictures + library);
    EXPECT_EQ(subjects.count(999 + static_cast<int>(library)), 1u);
    const auto shows = [&](int picture, const std::string& subject) {
        return subjects[picture].find(" " + subject + " ") != std::string::npos;
    };
    EXPECT_TRUE(shows(setup::kDefaultWebImage, "web"));

    setuptest::ScriptedQuestion yes({true});
    setup::ProgramIndex index;
    oVoiceBook root;
    root.ResetAll(L"ToolBar");
    ASSERT_EQ(setup::ReadTemplate(root, test::ExeFolder() + L"LarkB.ini", 10, index, yes),
              setup::TemplateEnd::Whole);
    // What a category, by its name, or a web button must show; programs show their own
    // icons and shell folders the shell's.
    const std::map<std::wstring, std::string> fitting = {{L"Accessories", "accessories"},
                                                         {L"System Tools", "tools"},
                                                         {L"Games", "games"},
                                                         {L"Bookmarks", "web"}};
    for (oVoiceBook* category : setuptest::Children(root)) {
        const std::string name = test::Narrow(category->m_strName);
        if (!category->m_pidl) {
            ASSERT_EQ(fitting.count(category->m_strName), 1u) << "nothing known to fit " << name;
            EXPECT_TRUE(shows(category->m_nDefaultImage, fitting.at(category->m_strName)))
                << name << " shows picture " << category->m_nDefaultImage;
        }
        for (oVoiceBook* button : setuptest::Children(*category))
            EXPECT_TRUE(!shell::IsWebAddress(button->m_strCommand) ||
                        shows(button->m_nDefaultImage, "web"))
                << test::Narrow(button->m_strName) << " shows picture " << button->m_nDefaultImage;
    }
}

} // namespace
