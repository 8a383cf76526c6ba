// Special folders and shortcut files against the prefix's real shell.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>

#include "engine/FileUtil.h"
#include "engine/ShellLinks.h"
#include "temp_dir.h"
#include "ui/handles.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFileOfSize;

struct LinkContents {
    bool loaded = false;
    std::string path;
    std::string arguments;
    std::string workingDirectory;
};

LinkContents ReadLink(const std::string& linkFile) {
    LinkContents contents;
    ui::ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.ReceiveVoid())))
        return contents;
    ui::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return contents;
    // Latin-1 widening: right for the Western code page the tests use.
    std::wstring wide;
    for (char c : linkFile) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    if (FAILED(file->Load(wide.c_str(), STGM_READ))) return contents;
    contents.loaded = true;
    char buffer[MAX_PATH] = "";
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) contents.path = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH))) contents.arguments = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) contents.workingDirectory = buffer;
    return contents;
}

bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

TEST(SpecialFolders, ProgramsAndStartupAreTheShellsFolderPaths) {
    for (int folder : {engine::kProgramsFolder, engine::kStartupFolder}) {
        char expected[MAX_PATH] = "";
        ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, expected, folder, FALSE));
        const std::string path = engine::SpecialFolderPath(folder);
        EXPECT_TRUE(SamePath(path, expected)) << path << " vs " << expected;
        EXPECT_TRUE(engine::IsDirectoryPresent(path)) << path;
        ASSERT_FALSE(path.empty());
        EXPECT_NE(path.back(), '\\');
    }
}

TEST(SpecialFolders, UnknownFolderNumberGivesEmptyText) {
    EXPECT_EQ(engine::SpecialFolderPath(0x7F), "");
}

// The shell may answer in any of the three forms; each gives the same path.
TEST(SpecialFolders, EveryFormOfTheShellsAnswerGivesThePath) {
    ui::ComPtr<IMalloc> shell;
    ASSERT_TRUE(SUCCEEDED(::SHGetMalloc(shell.Receive())));
    const std::string path = "C:\\WINDOWS\\Start Menu\\Programs";

    STRRET answer{};
    answer.uType = STRRET_CSTR;
    std::strcpy(answer.cStr, path.c_str());
    EXPECT_EQ(engine::DisplayNamePath(answer, nullptr, *shell.Get()), path);
    // A full buffer without a zero gives all 260 characters and no more.
    std::memset(answer.cStr, 'p', sizeof(answer.cStr));
    EXPECT_EQ(engine::DisplayNamePath(answer, nullptr, *shell.Get()), std::string(260, 'p'));

    // An item list of one identifier that holds the name, then its end.
    std::string list(2, '\0');
    list += "xy" + path;
    list += '\0';
    const auto size = static_cast<USHORT>(list.size());
    std::memcpy(&list[0], &size, sizeof size);
    list.append(2, '\0');
    STRRET offset{};
    offset.uType = STRRET_OFFSET;
    offset.uOffset = 4;
    const auto* items = reinterpret_cast<LPCITEMIDLIST>(list.data());
    EXPECT_EQ(engine::DisplayNamePath(offset, items, *shell.Get()), path);
    offset.uOffset = static_cast<UINT>(list.size());  // past the list's end
    EXPECT_EQ(engine::DisplayNamePath(offset, items, *shell.Get()), "");

    STRRET wide{};
    wide.uType = STRRET_WSTR;
    const wchar_t text[] = L"C:\\WINDOWS\\Start Menu\\Programs";
    wide.pOleStr = static_cast<LPWSTR>(shell->Alloc(sizeof(text)));
    ASSERT_NE(wide.pOleStr, nullptr);
    std::memcpy(wide.pOleStr, text, sizeof(text));
    EXPECT_EQ(engine::DisplayNamePath(wide, nullptr, *shell.Get()), path);
    EXPECT_EQ(wide.pOleStr, nullptr) << "the answer's memory is freed";
}

// The desktop folder's answer, handed on in the wide form the shell of
// Windows 95 and 98 may give, in the shell's memory.
HRESULT AnswerWide(IShellFolder& desktop, LPCITEMIDLIST items, STRRET& name) {
    STRRET own{};
    const HRESULT result = desktop.GetDisplayNameOf(items, SHGDN_FORPARSING, &own);
    if (FAILED(result)) return result;
    if (own.uType == STRRET_WSTR) {
        name = own;
        return S_OK;
    }
    if (own.uType != STRRET_CSTR) return E_FAIL;
    ui::ComPtr<IMalloc> shell;
    if (FAILED(::SHGetMalloc(shell.Receive()))) return E_FAIL;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, own.cStr, -1, nullptr, 0);
    name.uType = STRRET_WSTR;
    name.pOleStr = static_cast<LPWSTR>(shell->Alloc(sizeof(WCHAR) * length));
    if (name.pOleStr == nullptr) return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, own.cStr, -1, name.pOleStr, length);
    return S_OK;
}

TEST(SpecialFolders, AWideAnswerOfTheShellGivesTheFolder) {
    engine::SetDisplayNameQuery(&AnswerWide);
    const std::string path = engine::SpecialFolderPath(engine::kProgramsFolder);
    engine::SetDisplayNameQuery(nullptr);
    char expected[MAX_PATH] = "";
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, expected, engine::kProgramsFolder, FALSE));
    EXPECT_TRUE(SamePath(path, expected)) << path << " vs " << expected;
}

class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryA((dir_ / "WARDEX").c_str(), nullptr));
        ASSERT_TRUE(WriteFileOfSize(dir_ / "WARDEX\\wardex.exe", 64));
        ASSERT_TRUE(WriteFileOfSize(dir_ / "setup.exe", 64));
    }
    TempDir dir_;
};

TEST_F(ShellLinkTest, LinkReadsBackWithTargetArgumentsAndWorkingDirectory) {
    const std::string link = dir_ / "Wardex.lnk";
    engine::CreateShellLink(dir_ / "WARDEX\\WARDEX.EXE", "", dir_ / "WARDEX\\", link);

    const LinkContents contents = ReadLink(link);
    ASSERT_TRUE(contents.loaded);
    EXPECT_TRUE(SamePath(contents.path, dir_ / "WARDEX\\WARDEX.EXE")) << contents.path;
    EXPECT_EQ(contents.arguments, "");
    EXPECT_EQ(contents.workingDirectory, dir_ / "WARDEX\\");
}

TEST_F(ShellLinkTest, ExistingLinkFileIsReplaced) {
    const std::string link = dir_ / "Quarnel Setup.lnk";
    engine::CreateShellLink(dir_ / "WARDEX\\WARDEX.EXE", "/x", dir_ / "WARDEX\\", link);
    engine::CreateShellLink(dir_ / "setup.exe", "", dir_.Path(), link);

    const LinkContents contents = ReadLink(link);
    ASSERT_TRUE(contents.loaded);
    EXPECT_TRUE(SamePath(contents.path, dir_ / "setup.exe")) << contents.path;
    EXPECT_EQ(contents.arguments, "");
    EXPECT_EQ(contents.workingDirectory, dir_.Path());
}

TEST_F(ShellLinkTest, LinkFileNameIsTakenInTheAnsiCodePage) {
    if (::GetACP() != 1252) GTEST_SKIP() << "needs the Western code page";
    const std::string link = dir_ / "Pelkin \xE9.lnk";
    engine::CreateShellLink(dir_ / "setup.exe", "", dir_.Path(), link);
    EXPECT_TRUE(engine::IsFilePresent(link));
    EXPECT_TRUE(ReadLink(link).loaded);
}

TEST_F(ShellLinkTest, FailedSaveIsSilent) {
    const std::string link = dir_ / "NoGroup\\Wardex.lnk";
    EXPECT_NO_THROW(engine::CreateShellLink(dir_ / "setup.exe", "", dir_.Path(), link));
    EXPECT_FALSE(engine::IsFilePresent(link));
}

TEST(ShellLinkErrors, LinkObjectOutsideTheRuntimeRaisesOleError) {
    // A thread that never initialised the component-object runtime. Should
    // the link be made after all, it lands in the test's own directory.
    TempDir dir;
    bool raised = false;
    HRESULT code = S_OK;
    std::string message;
    std::thread outsider([&] {
        try {
            engine::CreateShellLink(dir / "x.exe", "", dir.Path(), dir / "x.lnk");
        } catch (const engine::EOleSysError& e) {
            raised = true;
            code = e.ErrorCode();
            message = e.Message();
        }
    });
    outsider.join();
    EXPECT_FALSE(engine::IsFilePresent(dir / "x.lnk"));
    ASSERT_TRUE(raised);
    EXPECT_EQ(code, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(message.empty());
}

TEST(ShellLinkErrors, MessageIsThePlatformTextOrTheCode) {
    // Wine has no text for this code; the numbered form stands in.
    EXPECT_EQ(engine::EOleSysError(static_cast<HRESULT>(0x8FFF1234)).Message(),
              "OLE error 8fff1234");
    // Platform text loses its line end and full stop.
    const std::string denied = engine::EOleSysError(E_ACCESSDENIED).Message();
    ASSERT_FALSE(denied.empty());
    EXPECT_NE(denied.rfind("OLE error", 0), 0u) << denied;
    EXPECT_NE(denied.back(), '.');
    EXPECT_NE(denied.back(), '\n');
    EXPECT_STREQ(engine::EIntfCastError().what(), "Interface not supported");
}

}  // namespace
