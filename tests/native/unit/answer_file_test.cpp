// Answer files and the status MIF's text: what a file read beside switches
// gives, each way a file is refused whole, and a description kept within
// the reader's limit without breaking a character or the layout.
#include <gtest/gtest.h>

#include <string>

#include "engine/AnswerFile.h"
#include "engine/CommandLine.h"
#include "engine/StatusMif.h"

namespace {

constexpr char kFile[] =
    "; saved by an install\r\n[setup]\r\nDir = D:\\Tools\\Q\\\r\ncomponents=Wardex, Trivel\r\n"
    "MenuGroup=yes\r\nViewReadme=No\r\nStartupShortcut=NO\r\n";

TEST(AnswerFile, SwitchesBesideTheFileWinAndItsTextReadsBackTheSame) {
    engine::Answers answers;
    ASSERT_EQ("", engine::ParseAnswers(kFile, answers));

    engine::SetupCommandLine fileOnly = engine::ParseCommandLine("/SILENT");
    engine::ApplyAnswers(answers, fileOnly);
    EXPECT_EQ("D:\\Tools\\Q\\", fileOnly.directory);
    EXPECT_TRUE(fileOnly.directoryGiven);
    EXPECT_EQ((std::array<bool, 5>{true, false, false, false, true}), fileOnly.components);
    EXPECT_TRUE(fileOnly.menuGroup);
    EXPECT_FALSE(fileOnly.viewReadme);
    EXPECT_FALSE(fileOnly.startupShortcut);

    engine::SetupCommandLine switches =
        engine::ParseCommandLine("/SILENT /NOMENU /COMPONENTS=Sulmet /DIR=C:\\Q");
    engine::ApplyAnswers(answers, switches);
    EXPECT_EQ("C:\\Q", switches.directory);
    EXPECT_EQ((std::array<bool, 5>{false, false, false, true, false}), switches.components);
    EXPECT_FALSE(switches.menuGroup);
    EXPECT_FALSE(switches.startupShortcut);

    // What an install writes is read back to the same answers.
    engine::Answers again;
    ASSERT_EQ("", engine::ParseAnswers(engine::AnswersText(answers), again));
    EXPECT_EQ(engine::AnswersText(answers), engine::AnswersText(again));
    EXPECT_EQ(
        "[Setup]\r\nDir=D:\\Tools\\Q\\\r\nComponents=Wardex,Trivel\r\nMenuGroup=Yes\r\n"
        "ViewReadme=No\r\nStartupShortcut=No\r\n",
        engine::AnswersText(answers));
}

TEST(AnswerFile, AnythingNotKnownRefusesTheWholeFile) {
    const std::pair<const char*, const char*> refused[] = {
        {"[Setup]\nMenuGroup=Maybe\n", "MenuGroup= takes Yes or No, not Maybe"},
        {"[Setup]\nComponents=Wardex,Zorvex\n", "Unknown component: Zorvex"},
        {"[Setup]\nComponents=\n", "A component name is missing in Components="},
        {"[Setup]\nDir=\n", "Dir= needs a directory"},
        {"[Setup]\nMenuGrop=No\n", "unknown key MenuGrop="},
        {"[Setup]\nDir=C:\\A\nDir=C:\\B\n", "line 3: Dir given twice in [Setup]"},
        {"[Setup]\n[Options]\n", "unknown section [Options]"},
        {"Dir=C:\\A\n[Setup]\n", "line 1: a key before any [section]"},
        {"[Setup\nDir=C:\\A\n", "line 1: a section name without its closing ]"},
        {"[Setup]\nWardex\n", "line 2: neither a [section] nor a key=value"},
        {"; nothing\n", "no [Setup] section"},
        {"", "no [Setup] section"},
    };
    for (const auto& [text, why] : refused) {
        engine::Answers answers;
        answers.menuGroup = true;
        EXPECT_EQ(why, engine::ParseAnswers(text, answers)) << text;
        EXPECT_EQ("[Setup]\r\nMenuGroup=Yes\r\n", engine::AnswersText(answers))
            << "a refused file changed the answers: " << text;
    }
}

bool LeadBytes81To9F(unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; }

TEST(StatusMif, TheDescriptionStaysWithinItsLimitWholeCharactersAndOneLine) {
    // 127 bytes, then a two-byte character whose second byte is a backslash:
    // it would end at byte 129, so it goes whole.
    const std::string description = "\"Quoted\"\r\n" + std::string(117, 'x') + "\x83\x5c" + "y";
    const std::string text = engine::StatusMifText({false, description}, &LeadBytes81To9F);
    EXPECT_NE(std::string::npos,
              text.find("      VALUE = \"'Quoted'  " + std::string(117, 'x') + "\"\r\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("      VALUE = \"Failed\"\r\n"));

    std::string name;
    EXPECT_EQ("", engine::ReadMifName("quarnel.mif", name));
    EXPECT_EQ("quarnel", name);
    EXPECT_NE("", engine::ReadMifName("C:\\WINDOWS\\QUARNEL", name));
    EXPECT_NE("", engine::ReadMifName(std::string(51, 'Q'), name));
    EXPECT_NE("", engine::ReadMifName(".MIF", name));
}

}  // namespace
