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

// The Description as written between its quotes, which end its line.
std::string Description(const std::string& description) {
    const std::string text = engine::StatusMifText({false, description}, &LeadBytes81To9F);
    const std::string key = "TYPE = STRING(128)\r\n      VALUE = \"";
    const std::size_t start = text.find(key) + key.size();
    const std::size_t end = text.find("\r\n", start);
    EXPECT_EQ('"', text[end - 1]) << text;
    return text.substr(start, end - 1 - start);
}

// The backslash escapes in a MIF string: a path is written with its
// backslashes doubled, or its last one would escape the closing quote and
// "\new" would read as a line end. Escapes count toward the limit and are
// never cut in two.
TEST(StatusMif, StringsAreEscapedAndCutOnlyBetweenWholeEscapes) {
    EXPECT_EQ("Component files stayed below c:\\\\new\\\\",
              Description("Component files stayed below c:\\new\\"));
    EXPECT_EQ("\\\"Quoted\\\"\\r\\n\\t\\0017\\177", Description("\"Quoted\"\r\n\t\x01"
                                                                "7\x7F"));

    // 127 characters, then a backslash: its escape would end at 129, so it
    // goes whole; one character earlier it fits exactly.
    const std::string x127(127, 'x');
    EXPECT_EQ(x127, Description(x127 + "\\c"));
    EXPECT_EQ(x127.substr(1) + "\\\\", Description(x127.substr(1) + "\\c"));
    EXPECT_EQ(x127.substr(2), Description(x127.substr(2) + "\x02"));
    // A double-byte character goes whole too, and one whose second byte is
    // a backslash is written as a question mark.
    EXPECT_EQ(x127, Description(x127 + "\x83\x40"));
    EXPECT_EQ(x127 + "?", Description(x127 + "\x83\x5c" + "y"));
    EXPECT_EQ(std::string(128, 'x'), Description(std::string(200, 'x')));
}

TEST(StatusMif, OnlyAPlainFileNameIsTaken) {
    std::string name = "before";
    EXPECT_EQ("", engine::ReadMifName("quarnel.mif", name));
    EXPECT_EQ("quarnel", name);
    // A refused value leaves the name as it was: it is never used.
    for (const std::string& refused :
         {std::string("C:\\WINDOWS\\QUARNEL"), std::string("..\\ESCAPE"), std::string(51, 'Q'),
          std::string(".MIF"), std::string("CON"), std::string("prn.mif"), std::string("CLOCK$"),
          std::string("COM1")}) {
        name = "before";
        EXPECT_NE("", engine::ReadMifName(refused, name)) << refused;
        EXPECT_EQ("before", name) << refused;
    }
}

}  // namespace
