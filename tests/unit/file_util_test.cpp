// File routines against real files in a temporary directory of the prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/DirectoryCreation.h"
#include "engine/FileUtil.h"
#include "engine/RenameList.h"
#include "engine/SetupLog.h"
#include "engine/WholeFile.h"
#include "temp_dir.h"
#include "ui/component.h"
#include "ui/exceptions.h"
#include "ui/handles.h"
#include "wine_host.h"

namespace {

using testing_support::CurrentDirectoryScope;
using testing_support::ReadWholeFile;
using testing_support::TempDir;
using testing_support::WriteFileOfSize;

struct PropertyCall {
    std::string name;
    int value;
    bool operator==(const PropertyCall& other) const {
        return name == other.name && value == other.value;
    }
};

std::ostream& operator<<(std::ostream& out, const PropertyCall& call) {
    return out << call.name << "=" << call.value;
}

// Records every property set on it; refuses a negative maximum as the real
// gauge does.
class Recorder : public ui::TComponent {
public:
    Recorder() : TComponent(nullptr) {}
    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override {
        calls.push_back({name, static_cast<int>(value.integer)});
        if ((name == "MaxValue" || name == "Max") && value.integer < 0) {
            throw ui::EInvalidOperation("Value must be between 0 and 2147483647");
        }
        return true;
    }
    std::vector<PropertyCall> calls;
};

class FakeGauge : public Recorder {
    QUARNEL_COMPONENT(TGauge, Recorder)
};

class DerivedGauge : public FakeGauge {
    QUARNEL_COMPONENT(TFancyGauge, FakeGauge)
};

class FakeProgressBar : public Recorder {
    QUARNEL_COMPONENT(TProgressBar, Recorder)
};

class FakeLabel : public Recorder {
    QUARNEL_COMPONENT(TLabel, Recorder)
};

std::vector<PropertyCall> GaugeCalls(std::vector<int> positions, int size) {
    std::vector<PropertyCall> calls = {{"MaxValue", size}, {"MinValue", 0}, {"Progress", 0}};
    for (int p : positions) calls.push_back({"Progress", p});
    calls.push_back({"Progress", 0});
    return calls;
}

SYSTEMTIME LocalLastWrite(const std::string& path) {
    SYSTEMTIME result{};
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written, local;
    if (file.IsValid() && ::GetFileTime(file.Get(), nullptr, nullptr, &written) &&
        ::FileTimeToLocalFileTime(&written, &local)) {
        ::FileTimeToSystemTime(&local, &result);
    }
    return result;
}

bool SetLocalLastWrite(const std::string& path, const SYSTEMTIME& time) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME local, written;
    return file.IsValid() && ::SystemTimeToFileTime(&time, &local) &&
           ::LocalFileTimeToFileTime(&local, &written) &&
           ::SetFileTime(file.Get(), nullptr, nullptr, &written);
}

class FileCopyTest : public ::testing::Test {
protected:
    TempDir dir_;
    FakeGauge gauge_;
};

TEST_F(FileCopyTest, EmptySourceGivesOneEmptyReadAndAnEmptyDestination) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "empty", 0));
    engine::CopyFileWithProgress(dir_ / "empty", dir_ / "copy", &gauge_);

    EXPECT_TRUE(engine::IsFilePresent(dir_ / "copy"));
    EXPECT_EQ(ReadWholeFile(dir_ / "copy"), "");
    EXPECT_EQ(gauge_.calls, GaugeCalls({0}, 0));
}

TEST_F(FileCopyTest, PositionFollowsEachBlockAndFallsBackToZero) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "exact", 16384));
    engine::CopyFileWithProgress(dir_ / "exact", dir_ / "exact.out", &gauge_);
    EXPECT_EQ(ReadWholeFile(dir_ / "exact.out"), ReadWholeFile(dir_ / "exact"));
    // An exact multiple of the block takes one more, empty, read.
    EXPECT_EQ(gauge_.calls, GaugeCalls({8192, 16384, 16384}, 16384));

    gauge_.calls.clear();
    ASSERT_TRUE(WriteFileOfSize(dir_ / "odd", 10000));
    engine::CopyFileWithProgress(dir_ / "odd", dir_ / "odd.out", &gauge_);
    EXPECT_EQ(ReadWholeFile(dir_ / "odd.out"), ReadWholeFile(dir_ / "odd"));
    EXPECT_EQ(gauge_.calls, GaugeCalls({8192, 10000}, 10000));
}

TEST_F(FileCopyTest, PropertyNamesFollowTheControlsKind) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 100));

    FakeProgressBar bar;
    engine::CopyFileWithProgress(dir_ / "src", dir_ / "a", &bar);
    const std::vector<PropertyCall> barCalls = {
        {"Max", 100}, {"Min", 0}, {"Position", 0}, {"Position", 100}, {"Position", 0}};
    EXPECT_EQ(bar.calls, barCalls);

    DerivedGauge derived;
    engine::CopyFileWithProgress(dir_ / "src", dir_ / "b", &derived);
    EXPECT_EQ(derived.calls, GaugeCalls({100}, 100));

    FakeLabel label;
    engine::CopyFileWithProgress(dir_ / "src", dir_ / "c", &label);
    EXPECT_TRUE(label.calls.empty());

    engine::CopyFileWithProgress(dir_ / "src", dir_ / "d", nullptr);
    EXPECT_EQ(ReadWholeFile(dir_ / "d").size(), 100u);
}

TEST_F(FileCopyTest, ExistingWritableDestinationIsOverwrittenWithNormalAttributes) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "dest", 20000));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 300));
    ASSERT_TRUE(::SetFileAttributesA((dir_ / "src").c_str(),
                                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    engine::CopyFileWithProgress(dir_ / "src", dir_ / "dest", nullptr);
    EXPECT_EQ(ReadWholeFile(dir_ / "dest"), ReadWholeFile(dir_ / "src"));
    const DWORD attributes = ::GetFileAttributesA((dir_ / "dest").c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

TEST_F(FileCopyTest, ReadOnlyDestinationCannotBeCreated) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 500));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "locked", 7));
    ASSERT_TRUE(::SetFileAttributesA((dir_ / "locked").c_str(), FILE_ATTRIBUTE_READONLY));
    {
        // Wine keeps read-only as the file's write permission, which the
        // superuser is not held to.
        ui::ScopedHandle probe(::CreateFileA((dir_ / "locked").c_str(), GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (probe.IsValid()) GTEST_SKIP() << "this user may write read-only files";
    }
    try {
        engine::CopyFileWithProgress(dir_ / "src", dir_ / "locked", &gauge_);
        FAIL() << "no error raised";
    } catch (const engine::EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + (dir_ / "locked"));
    }
    EXPECT_EQ(ReadWholeFile(dir_ / "locked").size(), 7u);
}

// A file of 7 bytes, held open as another program would hold it.
ui::ScopedHandle HeldOpen(const std::string& path) {
    if (!WriteFileOfSize(path, 7)) return ui::ScopedHandle();
    return ui::ScopedHandle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Another program holds the destination open: the copy goes, as any copy
// does, into a temporary beside it that the system's rename list puts in
// place at the next start; the destination itself stays as it was.
TEST_F(FileCopyTest, DestinationInUseIsCopiedBesideItForTheNextStart) {
    const std::string list = engine::SystemRenameList();
    const bool hadList = ::GetFileAttributesA(list.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string listBefore = hadList ? ReadWholeFile(list) : std::string();
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 500));
    {
        const ui::ScopedHandle holder = HeldOpen(dir_ / "busy");
        ASSERT_TRUE(holder.IsValid());
        engine::StartLog(dir_ / "copy.log");
        engine::CopyFileWithProgress(dir_ / "src", dir_ / "busy", &gauge_);
        engine::StartLog("");
    }
    // The log tells what the next start will do, not of a copy done.
    const std::string log = ReadWholeFile(dir_ / "copy.log");
    EXPECT_NE(std::string::npos, log.find("File in use, replaced at the next Windows start: " +
                                          (dir_ / "src") + " to " + (dir_ / "busy")))
        << log;
    EXPECT_EQ(std::string::npos, log.find("File copied")) << log;
    EXPECT_EQ(ReadWholeFile(dir_ / "busy").size(), 7u);
    EXPECT_EQ(gauge_.calls, GaugeCalls({500}, 500));
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA((dir_ / "qnw*.tmp").c_str(), &found));
    ASSERT_TRUE(search.IsValid()) << "no temporary beside the destination";
    EXPECT_FALSE(::FindNextFileA(search.Get(), &found)) << "more than one temporary";
    const std::string temporary = dir_ / found.cFileName;
    EXPECT_EQ(ReadWholeFile(temporary).size(), 500u);
    const std::string line = engine::PendingDeletionLine(dir_ / "busy").substr(4) + "=" +
                             engine::PendingDeletionLine(temporary).substr(4);
    EXPECT_NE(ReadWholeFile(list).find(line), std::string::npos) << ReadWholeFile(list);
    EXPECT_TRUE(::DeleteFileA((dir_ / "src").c_str()));

    // The list as it was, and the temporary gone with its line.
    EXPECT_TRUE(engine::CancelStartupOperations(list, dir_ / "busy"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(temporary.c_str()));
    if (hadList)
        EXPECT_EQ(listBefore, ReadWholeFile(list));
    else
        ::DeleteFileA(list.c_str());
}

UINT WINAPI EveryDriveRemote(LPCSTR) { return DRIVE_REMOTE; }

// The next start runs the rename list in real-mode DOS, before any network:
// a file in use on a network drive is neither copied beside itself nor
// listed for deletion there.
TEST_F(FileCopyTest, FileInUseOnANetworkDriveIsNotLeftForTheNextStart) {
    const std::string list = engine::SystemRenameList();
    const bool hadList = ::GetFileAttributesA(list.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string listBefore = hadList ? ReadWholeFile(list) : std::string();
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 500));
    ui::ScopedHandle holder = HeldOpen(dir_ / "busy");
    ASSERT_TRUE(holder.IsValid());
    engine::SetDriveTypeQuery(&EveryDriveRemote);
    std::string error;
    try {
        engine::CopyFileWithProgress(dir_ / "src", dir_ / "busy", &gauge_);
    } catch (const engine::EFCreateError& e) {
        error = e.Message();
    }
    engine::StartLog(dir_ / "delete.log");
    const bool deleted = engine::DeleteFileOrAtStartup(dir_ / "busy");
    engine::StartLog("");
    engine::SetDriveTypeQuery(nullptr);
    holder.Close();

    EXPECT_EQ("Cannot create file " + (dir_ / "busy"), error);
    EXPECT_FALSE(deleted);
    EXPECT_NE(std::string::npos,
              ReadWholeFile(dir_ / "delete.log")
                  .find("Error: Cannot delete " + (dir_ / "busy") +
                        ": it is in use, on a drive that the next Windows start cannot reach"))
        << ReadWholeFile(dir_ / "delete.log");
    WIN32_FIND_DATAA found;
    EXPECT_FALSE(ui::ScopedFind(::FindFirstFileA((dir_ / "qnw*.tmp").c_str(), &found)).IsValid());
    EXPECT_EQ(hadList, ::GetFileAttributesA(list.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (hadList) {
        EXPECT_EQ(listBefore, ReadWholeFile(list));
    }
}

DWORD WINAPI ListHeldOpen(LPCSTR path) {
    if (::lstrcmpiA(path, engine::SystemRenameList().c_str()) != 0)
        return ::GetFileAttributesA(path);
    ::SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_FILE_ATTRIBUTES;
}

// A removal leaves NUL= lines for the next start; a copy onto such a file
// that cannot take its line out would be deleted (or replaced) by that
// start, so it is not reported as made.
TEST_F(FileCopyTest, CopyWhoseFormerPendingLineCannotGoIsAFailure) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 500));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "old", 5));
    engine::SetListAttributeQuery(&ListHeldOpen);
    std::string error;
    try {
        engine::CopyFileWithProgress(dir_ / "src", dir_ / "setup.exe", &gauge_);
    } catch (const engine::EFCreateError& e) {
        error = e.Message();
    }
    const bool deleted = engine::DeleteFileOrAtStartup(dir_ / "old");
    engine::SetListAttributeQuery(nullptr);
    EXPECT_EQ("Cannot create file " + (dir_ / "setup.exe") +
                  " for good: " + engine::SystemRenameList() +
                  ", which may still delete or replace it at the next Windows start, cannot be "
                  "changed",
              error);
    EXPECT_FALSE(deleted) << "a replacement left for the next start may bring the file back";
}

TEST_F(FileCopyTest, MissingSourceRaisesOpenErrorAndResetsThePosition) {
    try {
        engine::CopyFileWithProgress(dir_ / "absent", dir_ / "out\\file", &gauge_);
        FAIL() << "no error raised";
    } catch (const engine::EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + (dir_ / "absent"));
    }
    EXPECT_EQ(gauge_.calls, (std::vector<PropertyCall>{{"Progress", 0}}));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir_ / "out"));
}

TEST_F(FileCopyTest, ControlRangeErrorEndsTheCopyBeforeAnythingIsCreated) {
    // The null device opens, but a search does not find it: the size is -1,
    // which the gauge refuses as its maximum.
    try {
        engine::CopyFileWithProgress("NUL", dir_ / "sub\\null", &gauge_);
        FAIL() << "no error raised";
    } catch (const ui::EInvalidOperation&) {
    }
    EXPECT_EQ(gauge_.calls, (std::vector<PropertyCall>{{"MaxValue", -1}, {"Progress", 0}}));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir_ / "sub"));
}

TEST_F(FileCopyTest, DirectoryDestinationReceivesTheSourceName) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "payload.dat", 1234));
    ASSERT_TRUE(::CreateDirectoryA((dir_ / "target").c_str(), nullptr));

    engine::CopyFileWithProgress(dir_ / "payload.dat", dir_ / "target", nullptr);
    EXPECT_EQ(ReadWholeFile(dir_ / "target\\payload.dat").size(), 1234u);

    engine::CopyFileWithProgress(dir_ / "payload.dat", dir_ / "target\\", nullptr);
    EXPECT_EQ(ReadWholeFile(dir_ / "target\\payload.dat").size(), 1234u);
}

TEST_F(FileCopyTest, MissingDirectoryChainIsMade) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 10));
    engine::CopyFileWithProgress(dir_ / "src", dir_ / "one\\two\\three\\file.exe", nullptr);
    EXPECT_EQ(ReadWholeFile(dir_ / "one\\two\\three\\file.exe").size(), 10u);
}

TEST_F(FileCopyTest, SourceNameEndingInADotOpensTheFileWithoutExtension) {
    ASSERT_TRUE(::CreateDirectoryA((dir_ / "medium").c_str(), nullptr));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "medium\\wardex", 4321));
    EXPECT_EQ(engine::SourceFileSize(dir_ / "medium\\wardex."), 4321);

    engine::CopyFileWithProgress(dir_ / "medium\\wardex.", dir_ / "WARDEX\\wardex.exe", &gauge_);
    EXPECT_EQ(ReadWholeFile(dir_ / "WARDEX\\wardex.exe").size(), 4321u);
    EXPECT_EQ(gauge_.calls.front(), (PropertyCall{"MaxValue", 4321}));
}

// The box shows the path as it was formed, doubled backslash and all; the
// log names it as the platform was given it, in the form a technician can
// copy into any tool.
TEST_F(FileCopyTest, DoubledBackslashIsShownAsFormedAndLoggedCanonical) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 10));
    const std::string doubled = dir_ / "new\\\\file";
    try {
        engine::CopyFileWithProgress(dir_ / "src", doubled, nullptr);
        FAIL() << "no error raised";
    } catch (const engine::EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + doubled);
        EXPECT_EQ(engine::LoggedText(e), "Cannot create file " + (dir_ / "new\\file"));
    }
    EXPECT_FALSE(engine::IsDirectoryPresent(dir_ / "new"));

    ASSERT_TRUE(::CreateDirectoryA((dir_ / "new").c_str(), nullptr));
    engine::StartLog(dir_ / "copy.log");
    engine::CopyFileWithProgress(dir_.Path() + "\\\\src", doubled, nullptr);
    engine::StartLog("");
    EXPECT_EQ(ReadWholeFile(dir_ / "new\\file").size(), 10u);
    EXPECT_NE(std::string::npos,
              ReadWholeFile(dir_ / "copy.log")
                  .find("File copied: " + (dir_ / "src") + " to " + (dir_ / "new\\file") + "\r\n"))
        << ReadWholeFile(dir_ / "copy.log");
}

TEST_F(FileCopyTest, LastWriteTimeKeepsTwoSecondResolution) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "src", 10));
    SYSTEMTIME stamp{};
    stamp.wYear = 2001;
    stamp.wMonth = 2;
    stamp.wDay = 3;
    stamp.wHour = 4;
    stamp.wMinute = 5;
    stamp.wSecond = 7;
    stamp.wMilliseconds = 500;
    ASSERT_TRUE(SetLocalLastWrite(dir_ / "src", stamp));

    engine::CopyFileWithProgress(dir_ / "src", dir_ / "dest", nullptr);
    const SYSTEMTIME copied = LocalLastWrite(dir_ / "dest");
    EXPECT_EQ(copied.wYear, 2001);
    EXPECT_EQ(copied.wMonth, 2);
    EXPECT_EQ(copied.wDay, 3);
    EXPECT_EQ(copied.wHour, 4);
    EXPECT_EQ(copied.wMinute, 5);
    EXPECT_EQ(copied.wSecond, 6);
    EXPECT_EQ(copied.wMilliseconds, 0);
}

TEST(PathText, AppendBackslash) {
    EXPECT_EQ(engine::AppendBackslash(""), "");
    EXPECT_EQ(engine::AppendBackslash("c"), "c:\\");
    EXPECT_EQ(engine::AppendBackslash("Z"), "Z:\\");
    EXPECT_EQ(engine::AppendBackslash("1"), "1\\");
    EXPECT_EQ(engine::AppendBackslash("c:"), "c:");
    EXPECT_EQ(engine::AppendBackslash("c:\\"), "c:\\");
    EXPECT_EQ(engine::AppendBackslash("c:\\dir"), "c:\\dir\\");
    EXPECT_EQ(engine::AppendBackslash("cd"), "cd\\");
}

TEST(DirectoryRoutines, EnsureMakesParentsButNotFromADoubledBackslash) {
    TempDir dir;
    engine::EnsureDirectoryPath(dir / "a\\b\\c\\");
    EXPECT_TRUE(engine::IsDirectoryPresent(dir / "a\\b\\c"));

    engine::EnsureDirectoryPath(dir / "x\\\\");
    EXPECT_FALSE(engine::IsDirectoryPresent(dir / "x"));

    engine::EnsureDirectoryPath("");
    engine::EnsureDirectoryPath("q:");
}

TEST(DirectoryRoutines, PathOfTheEditsWholeLengthIsMadeAsFarAsThePlatformGoes) {
    // "a\a\a..." to the 32767 characters a typed path may have: thousands
    // of levels, of which only those within the platform's limit can exist.
    TempDir dir;
    std::string path = dir.Path();
    while (path.size() < 32765) path += "a\\";
    engine::EnsureDirectoryPath(path);
    controls::ForceDirectories(path + "b");
    EXPECT_TRUE(engine::IsDirectoryPresent(dir / "a\\a\\a"));
}

TEST(DirectoryRoutines, MakeDirectoryMakesOneLevelOnly) {
    TempDir dir;
    engine::MakeDirectory(dir / "outer\\inner");
    EXPECT_FALSE(engine::IsDirectoryPresent(dir / "outer"));
    engine::MakeDirectory(dir / "outer");
    engine::MakeDirectory(dir / "outer\\inner");
    EXPECT_TRUE(engine::IsDirectoryPresent(dir / "outer\\inner"));
}

TEST(DirectoryRoutines, PresenceTellsFilesFromDirectories) {
    TempDir dir;
    ASSERT_TRUE(WriteFileOfSize(dir / "file", 1));
    EXPECT_TRUE(engine::IsFilePresent(dir / "file"));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir / "file"));
    EXPECT_TRUE(engine::IsDirectoryPresent(dir.Path()));
    EXPECT_FALSE(engine::IsFilePresent(dir.Path()));
    EXPECT_FALSE(engine::IsFilePresent(dir / "missing"));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir / "missing"));
}

TEST(DirectoryRoutines, SourceFileSizeOfMissingRelativeAndPresentFiles) {
    TempDir dir;
    ASSERT_TRUE(WriteFileOfSize(dir / "sized", 12345));
    EXPECT_EQ(engine::SourceFileSize(dir / "sized"), 12345);
    EXPECT_EQ(engine::SourceFileSize(dir / "missing"), -1);

    CurrentDirectoryScope inside(dir.Path());
    ASSERT_TRUE(inside.Entered());
    EXPECT_EQ(engine::SourceFileSize("sized"), 12345);
}

TEST(DirectoryRoutines, WindowsAndSystemDirectoriesExistWithoutTrailingBackslash) {
    const std::string windows = engine::WindowsDirectoryPath();
    const std::string system = engine::SystemDirectoryPath();
    EXPECT_TRUE(engine::IsDirectoryPresent(windows));
    EXPECT_TRUE(engine::IsDirectoryPresent(system));
    ASSERT_GT(windows.size(), 3u);
    EXPECT_NE(windows.back(), '\\');
    EXPECT_NE(system.back(), '\\');
}

class DeleteMatchingTest : public ::testing::Test {
protected:
    TempDir dir_;
};

TEST_F(DeleteMatchingTest, NoMatchAnswersFalse) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "keep.txt", 1));
    EXPECT_FALSE(engine::DeleteMatchingFiles(dir_ / "*.tmp"));
    EXPECT_TRUE(engine::IsFilePresent(dir_ / "keep.txt"));
}

TEST_F(DeleteMatchingTest, DeletesMatchesAndLeavesOthersAndDirectories) {
    ASSERT_TRUE(WriteFileOfSize(dir_ / "a.tmp", 1));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "b.tmp", 1));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "keep.txt", 1));
    ASSERT_TRUE(::CreateDirectoryA((dir_ / "dir.tmp").c_str(), nullptr));

    EXPECT_TRUE(engine::DeleteMatchingFiles(dir_ / "*.tmp"));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "a.tmp"));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "b.tmp"));
    EXPECT_TRUE(engine::IsFilePresent(dir_ / "keep.txt"));
    EXPECT_TRUE(engine::IsDirectoryPresent(dir_ / "dir.tmp"));
}

TEST_F(DeleteMatchingTest, RelativeMaskDeletesBelowTheCurrentDirectory) {
    ASSERT_TRUE(::CreateDirectoryA((dir_ / "sub").c_str(), nullptr));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "sub\\one.vxd", 1));
    CurrentDirectoryScope inside(dir_.Path());
    ASSERT_TRUE(inside.Entered());

    EXPECT_TRUE(engine::DeleteMatchingFiles("sub\\*.vxd"));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "sub\\one.vxd"));
}

// Every match is tried: one that stays neither keeps the later ones nor
// goes unlogged.
TEST_F(DeleteMatchingTest, ReadOnlyMatchStaysLoggedAndLaterMatchesGo) {
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) {
        ASSERT_TRUE(WriteFileOfSize(dir_ / name, 1));
    }
    // The platform decides the order; make the second one it gives read-only.
    std::vector<std::string> order;
    WIN32_FIND_DATAA entry;
    {
        ui::ScopedFind search(::FindFirstFileA((dir_ / "*.tmp").c_str(), &entry));
        ASSERT_TRUE(search.IsValid());
        do {
            order.push_back(entry.cFileName);
        } while (::FindNextFileA(search.Get(), &entry));
    }
    ASSERT_EQ(order.size(), 3u);
    ASSERT_TRUE(::SetFileAttributesA((dir_ / order[1]).c_str(), FILE_ATTRIBUTE_READONLY));

    engine::StartLog(dir_ / "delete.log");
    EXPECT_EQ(engine::DeleteEveryMatch(dir_ / "*.tmp"), engine::MatchDeletion::SomeStayed);
    engine::StartLog("");
    EXPECT_FALSE(engine::IsFilePresent(dir_ / order[0]));
    EXPECT_TRUE(engine::IsFilePresent(dir_ / order[1]));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / order[2]));
    EXPECT_NE(std::string::npos,
              ReadWholeFile(dir_ / "delete.log")
                  .find("Error: Cannot delete " + (dir_ / order[1]) + ": it is read-only"))
        << ReadWholeFile(dir_ / "delete.log");
}

// Windows 95 and 98 delete a file that another program has open for normal
// I/O; Wine does so too for a file opened with delete sharing, the one way
// it offers. Such a file (a running Wardex's data, a MIF a reader holds) is
// left for the next start, or left alone, instead of being deleted from
// under its program.
TEST_F(DeleteMatchingTest, FileOpenForNormalIoIsNotDeletedFromUnderItsProgram) {
    const std::string list = engine::SystemRenameList();
    const bool hadList = ::GetFileAttributesA(list.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string listBefore = hadList ? ReadWholeFile(list) : std::string();
    ASSERT_TRUE(WriteFileOfSize(dir_ / "wardex.ini", 7));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "status.mif", 7));
    bool listed = false;
    bool replaced = true;
    {
        const DWORD everyone = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const ui::ScopedHandle wardex(::CreateFileA((dir_ / "wardex.ini").c_str(),
                                                    GENERIC_READ | GENERIC_WRITE, everyone, nullptr,
                                                    OPEN_EXISTING, 0, nullptr));
        const ui::ScopedHandle reader(::CreateFileA((dir_ / "status.mif").c_str(), GENERIC_READ,
                                                    everyone, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(wardex.IsValid() && reader.IsValid());
        listed = engine::DeleteMatchingFiles(dir_ / "wardex.*");
        replaced = engine::ReplaceWholeFile(dir_ / "status.mif", "new");
    }
    EXPECT_TRUE(listed) << "a file in use is left for the next start, which counts as gone";
    EXPECT_EQ(ReadWholeFile(dir_ / "wardex.ini").size(), 7u);
    EXPECT_NE(ReadWholeFile(list).find(engine::PendingDeletionLine(dir_ / "wardex.ini")),
              std::string::npos)
        << ReadWholeFile(list);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(ReadWholeFile(dir_ / "status.mif").size(), 7u);

    EXPECT_TRUE(engine::CancelStartupOperations(list, dir_ / "wardex.ini"));
    if (hadList)
        EXPECT_EQ(listBefore, ReadWholeFile(list));
    else
        ::DeleteFileA(list.c_str());
}

class ClearTreeTest : public ::testing::Test {
protected:
    void MakeTree(const std::string& root) {
        ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((root + "\\sub").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr));
        ASSERT_TRUE(WriteFileOfSize(root + "\\top.exe", 10));
        ASSERT_TRUE(WriteFileOfSize(root + "\\sub\\locked.dat", 10));
        ASSERT_TRUE(WriteFileOfSize(root + "\\sub\\deeper\\locked.hlp", 10));
        ASSERT_TRUE(
            ::SetFileAttributesA((root + "\\sub\\locked.dat").c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(::SetFileAttributesA((root + "\\sub\\deeper\\locked.hlp").c_str(),
                                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    }
    static bool IsEmptyDirectory(const std::string& path) {
        WIN32_FIND_DATAA entry;
        ui::ScopedFind search(::FindFirstFileA((path + "\\*").c_str(), &entry));
        if (!search.IsValid()) return false;
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") return false;
        } while (::FindNextFileA(search.Get(), &entry));
        return true;
    }

    TempDir dir_;
};

TEST_F(ClearTreeTest, ReadOnlyFilesAreClearedAndTheTreeRemoved) {
    MakeTree(dir_ / "tree");
    EXPECT_TRUE(engine::ClearDirectoryTree(dir_ / "tree", true));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir_ / "tree"));
}

TEST_F(ClearTreeTest, WithoutRemovalEveryDirectoryStaysEmpty) {
    MakeTree(dir_ / "tree");
    EXPECT_TRUE(engine::ClearDirectoryTree(dir_ / "tree\\", false));
    EXPECT_TRUE(IsEmptyDirectory(dir_ / "tree\\sub\\deeper"));
    EXPECT_TRUE(engine::IsDirectoryPresent(dir_ / "tree\\sub\\deeper"));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "tree\\sub\\locked.dat"));
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "tree\\top.exe"));
}

TEST_F(ClearTreeTest, MissingDirectoryAnswersFalse) {
    EXPECT_FALSE(engine::ClearDirectoryTree(dir_ / "missing", true));
    const char letter = testing_support::FreeDriveLetter();
    ASSERT_NE(letter, 0) << "every drive letter is taken";
    EXPECT_FALSE(engine::ClearDirectoryTree(std::string(1, letter) + ":", true));
}

TEST_F(ClearTreeTest, BareDriveIsClearedButNeverRemoved) {
    // A drive letter of the test's own: whether "X:" names the drive's root
    // or its current directory, both lie in the scratch tree.
    MakeTree(dir_ / "drive");
    testing_support::ScopedDriveLetter scratch(dir_ / "drive");
    const std::string drive = scratch.Drive();
    if (drive.empty()) GTEST_SKIP() << "no drive letter could be mapped";
    ASSERT_TRUE(engine::IsFilePresent(drive + "\\top.exe"));

    EXPECT_TRUE(engine::ClearDirectoryTree(drive, true));
    EXPECT_TRUE(engine::IsDirectoryPresent(dir_ / "drive"));
    EXPECT_TRUE(IsEmptyDirectory(dir_ / "drive"));
}

TEST_F(ClearTreeTest, DirectoryLinksAreNeitherEnteredNorRemoved) {
    // A link out of the tree to files of someone else, and one back into it.
    MakeTree(dir_ / "group");
    ASSERT_TRUE(::CreateDirectoryA((dir_ / "elsewhere").c_str(), nullptr));
    ASSERT_TRUE(WriteFileOfSize(dir_ / "elsewhere\\theirs.txt", 5));
    testing_support::HostLink out(dir_ / "group\\sub\\out", dir_ / "elsewhere");
    testing_support::HostLink loop(dir_ / "group\\sub\\loop", dir_ / "group");
    if (!out.Made() || !loop.Made()) GTEST_SKIP() << "no host links under this platform";

    EXPECT_FALSE(engine::ClearDirectoryTree(dir_ / "group", true));
    EXPECT_TRUE(engine::IsFilePresent(dir_ / "elsewhere\\theirs.txt"));
    EXPECT_TRUE(engine::IsDirectoryPresent(dir_ / "group\\sub\\out"));
    // Everything else went; the folders that hold a link stay.
    EXPECT_FALSE(engine::IsFilePresent(dir_ / "group\\top.exe"));
    EXPECT_FALSE(engine::IsDirectoryPresent(dir_ / "group\\sub\\deeper"));

    // A link given as the tree itself is left as it is.
    testing_support::HostLink direct(dir_ / "direct", dir_ / "elsewhere");
    ASSERT_TRUE(direct.Made());
    EXPECT_FALSE(engine::ClearDirectoryTree(dir_ / "direct", true));
    EXPECT_TRUE(engine::IsFilePresent(dir_ / "elsewhere\\theirs.txt"));
}

}  // namespace
