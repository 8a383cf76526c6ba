// The log of a run: lines appended whole, also when two runs write to one
// file at once (a silent install and the refused run beside it).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "engine/SetupLog.h"
#include "temp_dir.h"
#include "ui/handles.h"

namespace {

using testing_support::ReadWholeFile;
using testing_support::TempDir;

// Another run holds the writers' lock, has found the log's end and is about
// to write there. A line logged meanwhile waits for it; taken without the
// lock, the other run's line would land on top of it.
TEST(SetupLog, ALineWaitsForTheRunThatHoldsTheLog) {
    TempDir temp;
    const std::string path = temp / "shared.log";
    const std::string other = "another run's line\r\n";
    ui::ScopedHandle holder(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.IsValid());
    ASSERT_TRUE(::LockFile(holder.Get(), engine::kLogWriterLockOffset, 0, 1, 0));
    const DWORD end = ::SetFilePointer(holder.Get(), 0, nullptr, FILE_END);

    engine::StartLog(path);
    std::thread writer([] { engine::LogLine("Status: Copying files"); });
    ::Sleep(200);
    ::SetFilePointer(holder.Get(), static_cast<LONG>(end), nullptr, FILE_BEGIN);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(holder.Get(), other.data(), static_cast<DWORD>(other.size()), &written,
                            nullptr));
    ::UnlockFile(holder.Get(), engine::kLogWriterLockOffset, 0, 1, 0);
    writer.join();
    engine::StartLog("");
    holder = ui::ScopedHandle();  // closed, so that the file can be read

    const std::string log = ReadWholeFile(path);
    ASSERT_EQ(0u, log.find(other)) << log;
    // "YYYY-MM-DD hh:mm:ss " and the text, whole, after the other run's line.
    const std::string mine = log.substr(other.size());
    ASSERT_EQ(20 + std::string("Status: Copying files\r\n").size(), mine.size()) << log;
    EXPECT_EQ("Status: Copying files\r\n", mine.substr(20));
}

}  // namespace
