// The log of a run: lines appended whole, also when two runs write to one
// file at once (a silent install and the refused run beside it).
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "engine/SetupLog.h"
#include "temp_dir.h"

namespace {

using testing_support::ReadWholeFile;
using testing_support::TempDir;

// Each writer opens the file for every line, as a second process would; two
// writers that found the same end would write over each other's lines.
TEST(SetupLog, TwoWritersOfOneFileLoseNoLine) {
    TempDir temp;
    const std::string path = temp / "shared.log";
    engine::StartLog(path);
    constexpr int kLines = 400;
    const std::string first(60, 'a'), second(60, 'b');
    const auto write = [&](const std::string& text) {
        for (int i = 0; i < kLines; ++i) engine::LogLine(text);
    };
    std::thread other(write, second);
    write(first);
    other.join();
    engine::StartLog("");

    const std::string log = ReadWholeFile(path);
    int lines[2] = {0, 0};
    std::size_t at = 0;
    while (at < log.size()) {
        const std::size_t end = log.find("\r\n", at);
        ASSERT_NE(std::string::npos, end) << "a line without its end";
        const std::string line = log.substr(at, end - at);
        // "YYYY-MM-DD hh:mm:ss " and the text, nothing of another line.
        ASSERT_EQ(20 + first.size(), line.size()) << line;
        const std::string text = line.substr(20);
        ASSERT_TRUE(text == first || text == second) << line;
        ++lines[text == first ? 0 : 1];
        at = end + 2;
    }
    EXPECT_EQ(kLines, lines[0]);
    EXPECT_EQ(kLines, lines[1]);
}

}  // namespace
