// The accessor against the real registry of the test prefix, under a key of
// its own that every test removes again.
#include "engine/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/InstallRecords.h"
#include "registry_keys.h"
#include "ui/handles.h"

namespace {

const char kTestKey[] = "SOFTWARE\\QuarnelTests";

using testing_registry::KeyExists;
using testing_registry::RemoveKeyTree;

struct StoredValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

StoredValue QueryValue(const std::string& keyPath, const std::string& name) {
    StoredValue value;
    ui::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return value;
    value.data.resize(size);
    value.found = ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type,
                                     value.data.data(), &size) == ERROR_SUCCESS;
    value.data.resize(size);
    return value;
}

void SetRawValue(const std::string& keyPath, const std::string& name, DWORD type, const void* data,
                 DWORD size) {
    ui::RegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        ::RegSetValueExA(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
        ERROR_SUCCESS);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kTestKey);
        registry_.SetRootKey(HKEY_LOCAL_MACHINE);
    }
    void TearDown() override {
        registry_.CloseRegistryKey();
        RemoveKeyTree(HKEY_LOCAL_MACHINE, kTestKey);
    }
    static std::string Under(const std::string& relative) {
        return std::string(kTestKey) + "\\" + relative;
    }

    engine::TRegistry registry_;
};

TEST(RegistryAccessor, StartsAtCurrentUserWithNothingOpen) {
    engine::TRegistry registry;
    EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    EXPECT_EQ(registry.CurrentPath(), "");
    EXPECT_TRUE(registry.LazyWrite());
}

TEST_F(RegistryTest, ChangingTheRootClosesTheOpenKeyButSettingTheSameRootDoesNot) {
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, true));
    registry_.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_NE(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.CurrentPath(), kTestKey);

    registry_.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.CurrentPath(), "");
}

TEST_F(RegistryTest, OpeningWithoutCreationFailsForAMissingKeyAndChangesNothing) {
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("A"), true));
    const HKEY before = registry_.CurrentKey();

    EXPECT_FALSE(registry_.OpenRegistryKey("Missing", false));
    EXPECT_FALSE(registry_.OpenRegistryKey("\\" + Under("Missing"), false));
    EXPECT_EQ(registry_.CurrentKey(), before);
    EXPECT_EQ(registry_.CurrentPath(), Under("A"));
    EXPECT_FALSE(KeyExists(Under("A\\Missing")));
    EXPECT_FALSE(KeyExists(Under("Missing")));
}

TEST_F(RegistryTest, RelativePathsFollowTheOpenKeyAndAbsolutePathsTheRoot) {
    // Nothing open: a relative path starts at the root.
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("A"), true));
    EXPECT_EQ(registry_.CurrentPath(), Under("A"));

    // Open key: relative to it, and the current path grows.
    ASSERT_TRUE(registry_.OpenRegistryKey("B", true));
    EXPECT_EQ(registry_.CurrentPath(), Under("A\\B"));
    EXPECT_TRUE(KeyExists(Under("A\\B")));
    EXPECT_FALSE(KeyExists("B"));

    // Leading backslash: from the root, the backslash dropped from the path.
    ASSERT_TRUE(registry_.OpenRegistryKey("\\" + Under("C"), true));
    EXPECT_EQ(registry_.CurrentPath(), Under("C"));
    EXPECT_TRUE(KeyExists(Under("C")));
    EXPECT_FALSE(KeyExists(Under("A\\B\\SOFTWARE")));

    // Closed again: relative paths start at the root once more.
    registry_.CloseRegistryKey();
    EXPECT_EQ(registry_.CurrentKey(), nullptr);
    EXPECT_EQ(registry_.CurrentPath(), "");
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("A\\B"), false));
    EXPECT_EQ(registry_.CurrentPath(), Under("A\\B"));
}

TEST_F(RegistryTest, TextIsStoredAsRegSzWithoutTerminatingZero) {
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, true));
    registry_.WriteTextValue("Path", "C:\\QUARNEL\\");

    const StoredValue stored = QueryValue(kTestKey, "Path");
    ASSERT_TRUE(stored.found);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    // The size written is the text's length. Windows 98 stores just that;
    // NT-style registries (Wine's included) add the zero that follows the
    // counted bytes in memory, so at most that one zero may follow here.
    const std::string text = "C:\\QUARNEL\\";
    ASSERT_GE(stored.data.size(), text.size());
    ASSERT_LE(stored.data.size(), text.size() + 1);
    EXPECT_EQ(std::string(stored.data.begin(), stored.data.begin() + text.size()), text);
    if (stored.data.size() > text.size()) {
        EXPECT_EQ(stored.data.back(), 0);
    }
    EXPECT_EQ(registry_.ReadTextValue("Path"), "C:\\QUARNEL\\");
}

TEST_F(RegistryTest, DriverStartIsOneZeroByteOfBinary) {
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, true));
    registry_.WriteByteValue(engine::records::kStartValue, engine::records::kStart,
                             sizeof(engine::records::kStart));

    const StoredValue stored = QueryValue(kTestKey, "Start");
    ASSERT_TRUE(stored.found);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.data.size(), 1u);
    EXPECT_EQ(stored.data[0], 0x00);
}

TEST_F(RegistryTest, WritingWithoutAnOpenKeyRaisesWithTheValueName) {
    try {
        registry_.WriteTextValue("Version", "2.5");
        FAIL() << "no error raised";
    } catch (const engine::ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Version'");
    }
    const unsigned char zero = 0;
    try {
        registry_.WriteByteValue("Start", &zero, 1);
        FAIL() << "no error raised";
    } catch (const engine::ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Start'");
    }
}

TEST_F(RegistryTest, MissingOrEmptyTextReadsAsEmpty) {
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, true));
    EXPECT_EQ(registry_.ReadTextValue("Path"), "");
    registry_.WriteTextValue("Path", "");
    EXPECT_EQ(registry_.ReadTextValue("Path"), "");

    registry_.CloseRegistryKey();
    EXPECT_EQ(registry_.ReadTextValue("Path"), "");
}

TEST_F(RegistryTest, ReadingNonTextDataRaisesInvalidDataType) {
    const DWORD number = 7;
    SetRawValue(kTestKey, "Number", REG_DWORD, &number, sizeof(number));
    const unsigned char bytes[] = {'a', 'b'};
    SetRawValue(kTestKey, "Path", REG_BINARY, bytes, sizeof(bytes));
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, false));

    try {
        registry_.ReadTextValue("Path");
        FAIL() << "no error raised";
    } catch (const engine::ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Path'");
    }
    EXPECT_THROW(registry_.ReadTextValue("Number"), engine::ERegistryException);
}

TEST_F(RegistryTest, ExpandableTextIsReadAndTextIsCutAtItsFirstZero) {
    const char expandable[] = "%WINDIR%\\x";
    SetRawValue(kTestKey, "Expand", REG_EXPAND_SZ, expandable, sizeof(expandable));
    const char embedded[] = "ab\0cd";
    SetRawValue(kTestKey, "Embedded", REG_SZ, embedded, sizeof(embedded) - 1);
    ASSERT_TRUE(registry_.OpenRegistryKey(kTestKey, false));

    EXPECT_EQ(registry_.ReadTextValue("Expand"), "%WINDIR%\\x");
    EXPECT_EQ(registry_.ReadTextValue("Embedded"), "ab");
}

TEST_F(RegistryTest, KeyPresenceFollowsThePathRulesAndLeavesTheCurrentKeyAlone) {
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("A\\B"), true));
    registry_.CloseRegistryKey();
    EXPECT_TRUE(registry_.RegistryKeyPresent(Under("A")));
    EXPECT_FALSE(registry_.RegistryKeyPresent("B"));
    EXPECT_FALSE(registry_.RegistryKeyPresent(Under("Missing")));

    ASSERT_TRUE(registry_.OpenRegistryKey(Under("A"), false));
    const HKEY current = registry_.CurrentKey();
    EXPECT_TRUE(registry_.RegistryKeyPresent("B"));
    EXPECT_TRUE(registry_.RegistryKeyPresent("\\" + Under("A\\B")));
    EXPECT_FALSE(registry_.RegistryKeyPresent(Under("A")));
    EXPECT_EQ(registry_.CurrentKey(), current);
    EXPECT_EQ(registry_.CurrentPath(), Under("A"));
}

TEST_F(RegistryTest, TreeDeletionTakesEverySubkeyAndKeepsTheParent) {
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("Vendor\\Product\\One\\Deep"), true));
    registry_.WriteTextValue("Value", "x");
    ASSERT_TRUE(registry_.OpenRegistryKey("\\" + Under("Vendor\\Product\\Two"), true));
    ASSERT_TRUE(registry_.OpenRegistryKey("\\" + Under("Vendor\\Product\\Three"), true));
    registry_.CloseRegistryKey();

    EXPECT_TRUE(registry_.DeleteRegistryTree(Under("Vendor\\Product")));
    EXPECT_FALSE(KeyExists(Under("Vendor\\Product")));
    EXPECT_TRUE(KeyExists(Under("Vendor")));
    EXPECT_FALSE(registry_.DeleteRegistryTree(Under("Vendor\\Product")));
}

TEST_F(RegistryTest, TreeDeletionRelativeToTheOpenKeyKeepsItOpen) {
    ASSERT_TRUE(registry_.OpenRegistryKey(Under("Vendor\\Product\\Sub"), true));
    ASSERT_TRUE(registry_.OpenRegistryKey("\\" + Under("Vendor"), false));
    const HKEY current = registry_.CurrentKey();

    EXPECT_TRUE(registry_.DeleteRegistryTree("Product"));
    EXPECT_FALSE(KeyExists(Under("Vendor\\Product")));
    EXPECT_EQ(registry_.CurrentKey(), current);
    EXPECT_EQ(registry_.CurrentPath(), Under("Vendor"));
    registry_.WriteTextValue("StillOpen", "yes");
    EXPECT_TRUE(QueryValue(Under("Vendor"), "StillOpen").found);
}

}  // namespace
