// The command line of an unattended run: quoting as technicians write paths
// with blanks, names in any case, and each way a line is refused.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
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
    // Tabs and runs of blanks separate.
    EXPECT_EQ((std::vector<std::string>{"/SILENT", "/LOG=a b", "/X"}),
              engine::SplitArguments("  /SILENT\t\t/LOG=\"a b\"  /X "));
}

// What the technician meant cannot be known: the switches an unclosed quote
// runs into are taken for no path and no log, and of a switch given twice
// neither copy is taken for the other.
TEST(CommandLine, AnUnclosedQuoteOrASwitchGivenTwiceIsNotUnderstood) {
    const engine::SetupCommandLine swallowed =
        ParseCommandLine("/SILENT \"/LOG=C:\\quarnel.log /DIR=D:\\QUARNEL /COMPONENTS=Wardex");
    EXPECT_EQ(
        "A double quote is not closed: \"/LOG=C:\\quarnel.log /DIR=D:\\QUARNEL "
        "/COMPONENTS=Wardex",
        swallowed.error);
    EXPECT_TRUE(swallowed.silent);
    EXPECT_EQ("", swallowed.logFile);
    const engine::SetupCommandLine path =
        ParseCommandLine("/LOG=C:\\q.log /SILENT \"/DIR=D:\\Quarnel Tools /NOMENU");
    EXPECT_FALSE(path.Understood());
    EXPECT_FALSE(path.directoryGiven);
    EXPECT_TRUE(path.menuGroup);
    EXPECT_EQ("C:\\q.log", path.logFile);
    EXPECT_FALSE(ParseCommandLine("/SILENT /DIR=\"D:\\Quarnel Tools\" \"").Understood());

    const engine::SetupCommandLine twice =
        ParseCommandLine("/SILENT /LOG=C:\\first.log /DIR=C:\\A /dir=D:\\B /LOG=C:\\second.log");
    EXPECT_EQ("/DIR= is given twice", twice.error);
    EXPECT_EQ("C:\\first.log", twice.logFile);
    EXPECT_EQ("/SILENT is given twice", ParseCommandLine("/SILENT /Silent").error);
    EXPECT_EQ("/COMPONENTS= is given twice",
              ParseCommandLine("/COMPONENTS=Wardex /COMPONENTS=Wardex").error);
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
    // A device is no file: a printer port or a serial line can hold the run
    // up, and on Windows 95/98 a name under \\.\ opens or loads a driver.
    const std::pair<const char*, std::string engine::SetupCommandLine::*> fileSwitches[] = {
        {"/LOG=", &engine::SetupCommandLine::logFile},
        {"/SAVEINF=", &engine::SetupCommandLine::saveAnswerFile},
        {"/LOADINF=", &engine::SetupCommandLine::loadAnswerFile}};
    for (const auto& [name, file] : fileSwitches) {
        for (const char* device :
             {"PRN", "con", "C:\\LOGS\\Aux.log", "nul.txt", "COM1", "lpt9:", "\\\\.\\COM3",
              "D:LPT1 .log", "\\\\.\\PhysicalDrive0", "\\\\.\\C:\\QUARNEL\\Q.VXD",
              "\\\\?\\C:\\q.log", "//./NTKERN", "CLOCK$", "C:\\clock$.txt"}) {
            const engine::SetupCommandLine line =
                ParseCommandLine(std::string("/SILENT \"") + name + device + "\"");
            EXPECT_EQ(std::string(name) + " names a device, not a file: " + device, line.error);
            EXPECT_EQ("", line.*file) << name << device;
        }
        for (const char* plain : {"C:\\console.log", "COM10", "LPT0", "C:\\PRN\\q.log", "nulls",
                                  "\\\\server\\q.log", "C:\\clocks.log", "..\\.\\q.log"})
            EXPECT_EQ(plain, ParseCommandLine(std::string("/SILENT ") + name + plain).*file);
    }
    EXPECT_EQ("/REMOVE needs /SILENT", ParseCommandLine("/REMOVE").error);

    // A line refused for its /MIF= has no status file, as a refused value
    // is never taken; refused for anything else, it tells its failure there.
    for (const std::string& mif :
         {std::string("/SILENT /MIF=..\\ESCAPE"), "/SILENT /MIF=" + std::string(51, 'Q'),
          std::string("/MIF=QUARNEL"), std::string("/SILENT /MIF=CLOCK$"),
          std::string("/SILENT /MIF=QUARNEL /MIF=QUARNEL"), std::string("/SILENT /MIF=A /mif=B")}) {
        const engine::SetupCommandLine line = ParseCommandLine(mif);
        EXPECT_FALSE(line.Understood()) << mif;
        EXPECT_EQ("", line.mifName) << mif;
    }
    EXPECT_EQ("QUARNEL", ParseCommandLine("/SILENT /MIF=QUARNEL /QUIET").mifName);
    EXPECT_FALSE(ParseCommandLine("/SILENT /REMOVE /DIR=C:\\X").Understood());

    // The first refusal is told; a refused line still knows to stay silent
    // and where to log why.
    const engine::SetupCommandLine line = ParseCommandLine("/A /SILENT /B /LOG=C:\\why.log");
    EXPECT_EQ("Unknown switch: /A", line.error);
    EXPECT_TRUE(line.silent);
    EXPECT_EQ("C:\\why.log", line.logFile);
}

}  // namespace
