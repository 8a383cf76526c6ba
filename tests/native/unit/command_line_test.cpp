// The command line of an unattended run: quoting as technicians write paths
// with blanks, names in any case, and each way a line is refused.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/CommandLine.h"

namespace {

using engine::ParseCommandLine;

std::array<bool, engine::kComponentCount> Ticks(bool w, bool p, bool o, bool s, bool t) {
    return {w, p, o, s, t};
}

TEST(CommandLine, BothQuotingsKeepTheBlanksOfAPath) {
    const std::string dir = "C:\\Program Files\\Quarnel";
    EXPECT_EQ(dir, ParseCommandLine("\"/DIR=C:\\Program Files\\Quarnel\"").directory);
    EXPECT_EQ(dir, ParseCommandLine("/DIR=\"C:\\Program Files\\Quarnel\" /SILENT").directory);
    // A trailing backslash before the closing quote is part of the path.
    EXPECT_EQ("C:\\Program Files\\",
              ParseCommandLine("/SILENT /DIR=\"C:\\Program Files\\\"").directory);
    // Tabs and runs of blanks separate; an unclosed quote runs to the end.
    EXPECT_EQ((std::vector<std::string>{"/SILENT", "/LOG=a b", "/X"}),
              engine::SplitArguments("  /SILENT\t\t/LOG=\"a b\"  /X "));
    EXPECT_EQ((std::vector<std::string>{"/DIR=d:\\a b /NOMENU"}),
              engine::SplitArguments("/DIR=\"d:\\a b /NOMENU"));
}

TEST(CommandLine, SwitchesAndComponentsInAnyCaseAndOrder) {
    const engine::SetupCommandLine line = ParseCommandLine(
        "/nostartup /Components=trivel,WARDEX /log=C:\\q.log /silent /NoMenu /dir=d:\\tools");
    ASSERT_TRUE(line.Understood()) << line.error;
    EXPECT_TRUE(line.silent);
    EXPECT_FALSE(line.remove);
    EXPECT_FALSE(line.menuGroup);
    EXPECT_FALSE(line.startupShortcut);
    EXPECT_TRUE(line.componentsGiven);
    EXPECT_EQ(Ticks(true, false, false, false, true), line.components);
    EXPECT_EQ("C:\\q.log", line.logFile);
    EXPECT_TRUE(line.directoryGiven);
    EXPECT_EQ("d:\\tools", line.directory);

    // No switch at all: what the window starts with.
    const engine::SetupCommandLine none = ParseCommandLine("");
    EXPECT_TRUE(none.Understood());
    EXPECT_FALSE(none.silent || none.directoryGiven || none.componentsGiven);
    EXPECT_EQ(Ticks(true, true, true, true, true), none.components);
    EXPECT_TRUE(none.menuGroup && none.startupShortcut);
    EXPECT_TRUE(ParseCommandLine("/SILENT /REMOVE /LOG=x").Understood());
}

TEST(CommandLine, RefusalsNameWhatWasNotUnderstood) {
    EXPECT_EQ("Unknown switch: /QUIET", ParseCommandLine("/SILENT /QUIET").error);
    EXPECT_EQ("Unknown switch: C:\\QUARNEL", ParseCommandLine("/SILENT C:\\QUARNEL").error);
    // A value switch without its "=" and a plain switch with one.
    EXPECT_EQ("Unknown switch: /DIR", ParseCommandLine("/DIR").error);
    EXPECT_EQ("Unknown switch: /SILENT=1", ParseCommandLine("/SILENT=1").error);
    EXPECT_EQ("Unknown component: Zorvex",
              ParseCommandLine("/SILENT \"/COMPONENTS=Wardex, Zorvex\"").error);
    EXPECT_FALSE(ParseCommandLine("/COMPONENTS=Wardex,,Trivel").Understood());
    EXPECT_FALSE(ParseCommandLine("/COMPONENTS=").Understood());
    EXPECT_EQ("/DIR= needs a directory", ParseCommandLine("/SILENT /DIR=").error);
    EXPECT_EQ("/DIR= needs a directory", ParseCommandLine("/SILENT \"/DIR=  \"").error);
    EXPECT_FALSE(ParseCommandLine("/LOG=").Understood());
    EXPECT_EQ("/REMOVE needs /SILENT", ParseCommandLine("/REMOVE").error);
    EXPECT_FALSE(ParseCommandLine("/SILENT /REMOVE /DIR=C:\\X").Understood());

    // The first refusal is told; a refused line still knows to stay silent
    // and where to log why.
    const engine::SetupCommandLine line = ParseCommandLine("/A /SILENT /B /LOG=C:\\why.log");
    EXPECT_EQ("Unknown switch: /A", line.error);
    EXPECT_TRUE(line.silent);
    EXPECT_EQ("C:\\why.log", line.logFile);
}

}  // namespace
