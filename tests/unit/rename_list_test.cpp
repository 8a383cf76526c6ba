// The start-up rename list: merging the deletion line into lists that other
// programs share, the line's refusals and short form, and the file replaced
// whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/RenameList.h"
#include "temp_dir.h"
#include "ui/code_page.h"
#include "ui/handles.h"
#include "wine_host.h"

namespace {

using engine::MergeRenameList;
using engine::PendingDeletionLine;
using engine::ScheduleDeletionAtStartup;
using testing_support::ReadWholeFile;
using testing_support::TempDir;

const char kLine[] = "NUL=C:\\QUARNEL\\setup.exe";
const char kFile[] = "C:\\QUARNEL\\setup.exe";

bool WriteText(const std::string& path, const std::string& text) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsValid() &&
           ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) &&
           written == text.size();
}

std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    ui::ScopedFind search(::FindFirstFileA((directory + "*").c_str(), &entry));
    if (!search.IsValid()) return names;
    do {
        if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
    } while (::FindNextFileA(search.Get(), &entry));
    return names;
}

struct MergeCase {
    const char* what;
    std::string before;
    std::string after;
};

TEST(RenameListMerge, KeepsEveryByteOfOtherProgramsAndUsesTheFilesLineEnds) {
    const std::vector<MergeCase> cases = {
        {"empty list", "", "[rename]\r\nNUL=C:\\QUARNEL\\setup.exe"},
        {"other sections only", "; pending\r\n[boot]\r\nshell=x\r\n",
         "; pending\r\n[boot]\r\nshell=x\r\n[rename]\r\nNUL=C:\\QUARNEL\\setup.exe\r\n"},
        {"other sections, no final line end", "[boot]\r\nshell=x",
         "[boot]\r\nshell=x\r\n[rename]\r\nNUL=C:\\QUARNEL\\setup.exe"},
        {"rename section of another program, then blank and another section",
         "[Rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n; keep\r\n\r\n[boot]\r\nx=1\r\n",
         "[Rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n; keep\r\nNUL=C:\\QUARNEL\\setup.exe\r\n\r\n"
         "[boot]\r\nx=1\r\n"},
        {"line ends of LF alone", "[rename]\nNUL=C:\\OLD.TMP\n[x]\n",
         "[rename]\nNUL=C:\\OLD.TMP\nNUL=C:\\QUARNEL\\setup.exe\n[x]\n"},
        {"rename section last, no final line end", "[x]\ny=1\n [rename] \nNUL=C:\\OLD.TMP",
         "[x]\ny=1\n [rename] \nNUL=C:\\OLD.TMP\nNUL=C:\\QUARNEL\\setup.exe"},
        {"line there already, other case", "[rename]\r\nnul=c:\\quarnel\\SETUP.EXE\r\n",
         "[rename]\r\nnul=c:\\quarnel\\SETUP.EXE\r\n"},
        {"end-of-text mark of a DOS editor", "[rename]\r\nNUL=C:\\OLD.TMP\r\n\x1A",
         "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\QUARNEL\\setup.exe\r\n\x1A"},
        {"header ending in CR alone", "\n[rename]\r", "\n[rename]\r\nNUL=C:\\QUARNEL\\setup.exe\n"},
        {"line ends of CR alone", "[boot]\rx=1\r[rename]\rNUL=C:\\OLD.TMP\r",
         "[boot]\rx=1\r[rename]\rNUL=C:\\OLD.TMP\rNUL=C:\\QUARNEL\\setup.exe\r"},
        {"header ending in CR CR LF", "[rename]\r\r\n",
         "[rename]\r\nNUL=C:\\QUARNEL\\setup.exe\r\n\r\n"},
        {"byte-order mark", "\xEF\xBB\xBF[rename]\r\nNUL=C:\\OLD.TMP\r\n",
         "\xEF\xBB\xBF[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\QUARNEL\\setup.exe\r\n"},
    };
    for (const MergeCase& c : cases) {
        EXPECT_EQ(c.after, MergeRenameList(c.before, kLine, &ui::NoLeadBytes)) << c.what;
        // The next merge finds the line where this one put it.
        EXPECT_EQ(c.after, MergeRenameList(c.after, kLine, &ui::NoLeadBytes)) << c.what;
    }
}

// Shift-JIS (code page 932): a lead byte, then a second byte that may have
// a letter's code.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(RenameListMerge, SecondBytesOfDoubleByteCharactersAreNotFoldedAsLetters) {
    // 83 41 and 83 61 are two different characters, not one in two cases.
    const std::string list = "[rename]\r\nNUL=C:\\\x83\x61.EXE\r\n";
    const std::string line = "NUL=C:\\\x83\x41.EXE";
    EXPECT_EQ(list + line + "\r\n", MergeRenameList(list, line, &ShiftJisLead));
    EXPECT_EQ(list,
              engine::WithoutOperationsOn(list, "C:\\\x83\x41.EXE", "", &ShiftJisLead, nullptr));
    // Single-byte letters still match in either case.
    EXPECT_EQ(list, MergeRenameList(list, "nul=c:\\\x83\x61.exe", &ShiftJisLead));
}

TEST(RenameListMerge, OperationsOnTheSameFileGiveWayOthersStay) {
    const std::string others = "[boot]\r\nC:\\Q\\W.EXE=C:\\X.EXE\r\n";
    const std::string list =
        "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n"
        " c:\\q\\w.exe = C:\\Q\\QNW1.TMP\r\n"
        "NUL=C:\\Q\\W.EXE2\r\nNUL=C:\\Q\\W.EXE\r\n"
        "C:\\W.EXE=C:\\Q\\W.EXE\r\n" +
        others + "[RENAME]\r\nnul=c:\\q\\W.exe\r\n\x1A" + "C:\\Q\\W.EXE=C:\\Q\\QNW2.TMP\r\n";
    std::vector<std::string> sources;
    EXPECT_EQ(
        "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\nNUL=C:\\Q\\W.EXE2\r\n"
        "C:\\W.EXE=C:\\Q\\W.EXE\r\n" +
            others + "[RENAME]\r\n\x1A" + "C:\\Q\\W.EXE=C:\\Q\\QNW2.TMP\r\n",
        engine::WithoutOperationsOn(list, "C:\\Q\\W.EXE", "", &ui::NoLeadBytes, &sources));
    EXPECT_EQ(std::vector<std::string>{"C:\\Q\\QNW1.TMP"}, sources);
    // The line about to be added, already there, stays where it is.
    const std::string kept = "[rename]\r\nNUL=C:\\Q\\W.EXE\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    EXPECT_EQ(kept, engine::WithoutOperationsOn(kept, "C:\\Q\\W.EXE", "nul=c:\\q\\w.exe",
                                                &ui::NoLeadBytes, nullptr));
}

TEST(RenameListLine, RefusesAnythingButAPlainAbsolutePath) {
    const std::vector<std::string> refused = {
        "C:\\QUARNEL\r\n[rename]\r\nNUL=C:\\WINDOWS\\WIN.COM\\setup.exe",
        "C:\\QUAR\nNEL\\setup.exe",
        "C:\\QUARNEL\\\tsetup.exe",
        std::string("C:\\QUARNEL\\set\x7Fup.exe"),
        "QUARNEL\\setup.exe",
        "\\QUARNEL\\setup.exe",
        "C:QUARNEL\\setup.exe",
        "\\\\SERVER\\SHARE\\setup.exe",
        "C:\\QUARNEL\\..\\WINDOWS\\setup.exe",
        "C:\\QUAR?EL\\setup.exe",
        "",
        // Eighty characters: one more than real-mode DOS takes.
        "C:\\QUARNEL1\\QUARNEL2\\QUARNEL3\\QUARNEL4\\QUARNEL5\\QUARNEL6\\QUARNEL7\\QUAR\\"
        "setup.exe",
    };
    for (const std::string& path : refused) {
        EXPECT_EQ("", PendingDeletionLine(path)) << path;
    }
    // A doubled backslash (a directory ending in one, then "\\setup.exe") is
    // written as one, whatever the platform's calls would make of it.
    EXPECT_EQ(kLine, PendingDeletionLine("C:\\QUARNEL\\\\setup.exe"));
    EXPECT_EQ(kLine, PendingDeletionLine("C:\\\\QUARNEL\\\\\\setup.exe"));
    // Written as recorded, case and all, whether the file is there or not.
    EXPECT_EQ("NUL=d:\\tools\\setup.exe", PendingDeletionLine("d:\\tools\\setup.exe"));
    const std::string longest =
        "C:\\QUARNEL1\\QUARNEL2\\QUARNEL3\\QUARNEL4\\QUARNEL5\\QUARNEL6\\QUARNEL7\\QUA\\"
        "setup.exe";
    ASSERT_EQ(engine::kLongestStartupPath, longest.size());
    EXPECT_EQ("NUL=" + longest, PendingDeletionLine(longest));
}

TEST(RenameListLine, LongNamesAreWrittenInTheirShortForm) {
    TempDir temp;
    const std::string dir = temp / "Quarnel Suite;v2.5";
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr));
    const std::string file = dir + "\\setup.exe";
    ASSERT_TRUE(WriteText(file, "the installed copy"));

    const std::string line = PendingDeletionLine(file);
    ASSERT_EQ(0u, line.rfind("NUL=", 0)) << line;
    const std::string written = line.substr(4);
    EXPECT_NE(file, written);
    std::string::size_type start = 3;
    for (std::string::size_type end; (end = written.find('\\', start)) != std::string::npos;
         start = end + 1) {
        EXPECT_TRUE(
            engine::IsEightDotThreeName(written.substr(start, end - start), &ui::IsAnsiLeadByte))
            << written;
    }
    EXPECT_EQ("setup.exe", written.substr(start));
    EXPECT_EQ("the installed copy", ReadWholeFile(written)) << written;

    // A long name that leads nowhere has no short form: nothing is written.
    EXPECT_EQ("", PendingDeletionLine(dir + "\\no such copy.exe"));
}

TEST(RenameListLine, NameBeyondAsciiReachesDosInTheOemCodePage) {
    if (::GetACP() == ::GetOEMCP()) GTEST_SKIP() << "the two code pages are the same";
    // On a drive of its own every component is an 8.3 name but one letter.
    TempDir temp;
    testing_support::ScopedDriveLetter drive(temp.Path());
    if (drive.Drive().empty()) GTEST_SKIP() << "no drive letter could be mapped";
    const std::string dir = drive.Drive() + "\\CAF\xC9";  // "CAFÉ" in the Western code page
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(WriteText(dir + "\\setup.exe", "the installed copy"));

    const std::string line = PendingDeletionLine(dir + "\\setup.exe");
    ASSERT_EQ(0u, line.rfind("NUL=", 0)) << line;
    // DOS reads the bytes in the OEM code page: read so, they name the file.
    std::string read(line.size() - 4, '\0');
    ASSERT_TRUE(::OemToCharBuffA(line.c_str() + 4, &read[0], static_cast<DWORD>(read.size())));
    EXPECT_EQ("the installed copy", ReadWholeFile(read)) << read;
}

TEST(RenameListFile, AbsentListGetsExactlyTheSectionAndTheLine) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    ASSERT_TRUE(ScheduleDeletionAtStartup(list, kFile));
    EXPECT_EQ("[rename]\r\nNUL=C:\\QUARNEL\\setup.exe", ReadWholeFile(list));
    EXPECT_EQ(std::vector<std::string>{"wininit.ini"}, NamesIn(temp.Path()))
        << "the new list's temporary file was left behind";
}

TEST(RenameListFile, ExistingListIsReplacedWholeAndARefusedPathChangesNothing) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    const std::string before = "[boot]\r\nx=1\r\n[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    ASSERT_TRUE(WriteText(list, before));

    EXPECT_FALSE(ScheduleDeletionAtStartup(list, "C:\\QUARNEL\r\nNUL=C:\\AUTOEXEC.BAT\\"));
    EXPECT_EQ(before, ReadWholeFile(list));

    ASSERT_TRUE(ScheduleDeletionAtStartup(list, kFile));
    EXPECT_EQ(before + kLine + "\r\n", ReadWholeFile(list));
    EXPECT_EQ(std::vector<std::string>{"wininit.ini"}, NamesIn(temp.Path()))
        << "the old list or the new one's temporary file was left behind";
}

TEST(RenameListFile, ReadOnlyHiddenListKeepsItsAttributesAndNothingIsLeftBeside) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    const std::string before = "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    ASSERT_TRUE(WriteText(list, before));
    ASSERT_TRUE(
        ::SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const DWORD attributes = ::GetFileAttributesA(list.c_str());
    ASSERT_NE(0u, attributes & FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(ScheduleDeletionAtStartup(list, kFile));
    EXPECT_EQ(before + kLine + "\r\n", ReadWholeFile(list));
    EXPECT_EQ(attributes, ::GetFileAttributesA(list.c_str()));
    EXPECT_EQ(std::vector<std::string>{"wininit.ini"}, NamesIn(temp.Path()))
        << "the old list or the new one's temporary file was left behind";
}

// The first lookup of the list fails as a sharing conflict would; later
// ones see the list.
DWORD WINAPI LookupFailingOnce(LPCSTR path) {
    static bool failed = false;
    if (!failed) {
        failed = true;
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_FILE_ATTRIBUTES;
    }
    return ::GetFileAttributesA(path);
}

TEST(RenameListFile, ListThatCannotBeReadForCertainIsLeftAlone) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    const std::string others = "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    ASSERT_TRUE(WriteText(list, others));
    engine::SetListAttributeQuery(&LookupFailingOnce);
    const bool scheduled = ScheduleDeletionAtStartup(list, kFile);
    engine::SetListAttributeQuery(nullptr);
    EXPECT_FALSE(scheduled);
    EXPECT_EQ(others, ReadWholeFile(list)) << "another program's pending rename was lost";

    // A list larger than the platform reads is not taken in either.
    const std::string huge = others + std::string(engine::kLongestRenameList, ';');
    ASSERT_TRUE(WriteText(list, huge));
    EXPECT_FALSE(ScheduleDeletionAtStartup(list, kFile));
    EXPECT_EQ(huge, ReadWholeFile(list));
    EXPECT_EQ(std::vector<std::string>{"wininit.ini"}, NamesIn(temp.Path()));
}

// Lists of other programs beside the files of this one: what a later run
// decides for a file replaces what an earlier one left for it.
TEST(RenameListFile, TheLastRunDecidesWhatTheNextStartDoes) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    const std::string others = "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    ASSERT_TRUE(WriteText(list, others));
    const std::string dir = temp / "WARDEX";
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr));
    const std::string file = dir + "\\wardex.exe";
    ASSERT_TRUE(WriteText(file, "running"));
    const std::string first = engine::ReplacementTemporaryIn(dir);
    const std::string second = engine::ReplacementTemporaryIn(dir);
    ASSERT_FALSE(first.empty());
    ASSERT_NE(first, second);
    const auto shortOf = [](const std::string& path) {
        return PendingDeletionLine(path).substr(4);
    };

    ASSERT_TRUE(engine::ScheduleReplacementAtStartup(list, file, first));
    ASSERT_TRUE(engine::ScheduleReplacementAtStartup(list, file, second));
    EXPECT_EQ(others + shortOf(file) + "=" + shortOf(second) + "\r\n", ReadWholeFile(list));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(first.c_str()))
        << "the temporary no line points at any more was left";

    ASSERT_TRUE(ScheduleDeletionAtStartup(list, file));
    EXPECT_EQ(others + PendingDeletionLine(file) + "\r\n", ReadWholeFile(list));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(second.c_str()));

    ASSERT_TRUE(engine::CancelStartupOperations(list, file));
    EXPECT_EQ(others, ReadWholeFile(list));
    EXPECT_EQ("running", ReadWholeFile(file));
    std::vector<std::string> names = NamesIn(temp.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"WARDEX", "wininit.ini"}), names);
}

// Every move after the first fails: the old list went aside and neither the
// new one nor the old one goes back under the list's name by moving.
BOOL WINAPI MoveOnlyOnce(LPCSTR from, LPCSTR to) {
    static int moves = 0;
    if (++moves > 1) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ::MoveFileA(from, to);
}

TEST(RenameListFile, FailedReplacementLeavesTheOldListWhereWindowsReadsIt) {
    TempDir temp;
    const std::string list = temp / "wininit.ini";
    const std::string others = "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    ASSERT_TRUE(WriteText(list, others));
    engine::SetListFileMover(&MoveOnlyOnce);
    const bool scheduled = ScheduleDeletionAtStartup(list, kFile);
    engine::SetListFileMover(nullptr);
    EXPECT_FALSE(scheduled);
    EXPECT_EQ(others, ReadWholeFile(list)) << "another program's pending rename is not read";
    EXPECT_EQ(std::vector<std::string>{"wininit.ini"}, NamesIn(temp.Path()));
}

TEST(RenameListFile, UnwritableDirectoryLeavesNoList) {
    TempDir temp;
    const std::string list = temp / "missing\\wininit.ini";
    EXPECT_FALSE(ScheduleDeletionAtStartup(list, kFile));
    EXPECT_TRUE(NamesIn(temp.Path()).empty());
}

}  // namespace
