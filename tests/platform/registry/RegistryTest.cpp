#include "platform/registry/Registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/platform/PlatformTestSupport.h"

namespace {

using platform::registry::Registry;
using platform::registry::RegistryError;
using platform::registry::Root;
using platform::registry::Value;
using platform::registry::ValueType;
using platform::testing::ReadFile;
using platform::testing::ScopedEnvironment;
using platform::testing::TemporaryDirectory;
using platform::testing::WriteFile;

class RegistryTest : public ::testing::Test {
  private:
    TemporaryDirectory directory_;

  protected:
    // One level deeper than the temporary directory: writing must create missing directories.
    std::filesystem::path File() const { return directory_.Path() / "config" / "registry"; }
    Registry registry_{File()};

    std::string ReadString(Root root, std::string_view key, std::string_view name) const {
        const auto value = registry_.ReadValue(root, key, name);
        EXPECT_TRUE(value.has_value()) << key << " " << name;
        if (!value)
            return {};
        EXPECT_EQ(value->type, ValueType::String);
        return value->text;
    }
};

TEST_F(RegistryTest, AMissingStoreIsEmptyAndReadingDoesNotCreateIt) {
    EXPECT_FALSE(registry_.KeyExists(Root::CurrentUser, "SOFTWARE"));
    EXPECT_TRUE(registry_.KeyExists(Root::CurrentUser, ""));
    EXPECT_FALSE(registry_.ReadValue(Root::CurrentUser, "SOFTWARE", "x").has_value());
    EXPECT_TRUE(registry_.SubKeys(Root::ClassesRoot, "").empty());
    EXPECT_TRUE(registry_.ValueNames(Root::ClassesRoot, "CLSID").empty());
    EXPECT_FALSE(registry_.DeleteValue(Root::CurrentUser, "SOFTWARE", "x"));
    EXPECT_FALSE(registry_.DeleteKey(Root::CurrentUser, "SOFTWARE"));
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(RegistryTest, StringsAndBytesComeBackExactly) {
    const std::string awkward = std::string("quote \" backslash \\ tab\t new\nline \x01\x7f ") +
                                std::string(1, '\0') + " ü € 𝄞 @=[x]";
    const std::vector<std::uint8_t> bytes = {0x00, 0xff, 0x10, 0x0a, 0x22, 0x5c};
    registry_.WriteString(Root::CurrentUser, R"(SOFTWARE\TAVOWin\RecentFiles)", "0", awkward);
    registry_.WriteString(Root::CurrentUser, R"(SOFTWARE\TAVOWin\RecentFiles)", awkward, "name");
    registry_.WriteBinary(Root::CurrentUser, R"(SOFTWARE\TAVOWin\WindowAtributes)", "Main", bytes);
    registry_.WriteBinary(Root::CurrentUser, R"(SOFTWARE\TAVOWin\WindowAtributes)", "Empty", {});
    registry_.WriteString(Root::CurrentUser, R"(SOFTWARE\TAVOWin)", "", "");

    const Registry other(File());  // a second object sees only what is in the file
    EXPECT_EQ(other.ReadValue(Root::CurrentUser, R"(SOFTWARE\TAVOWin\RecentFiles)", "0")->text,
              awkward);
    EXPECT_EQ(other.ReadValue(Root::CurrentUser, R"(SOFTWARE\TAVOWin\RecentFiles)", awkward)->text,
              "name");
    const auto binary =
        other.ReadValue(Root::CurrentUser, R"(SOFTWARE\TAVOWin\WindowAtributes)", "Main");
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->type, ValueType::Binary);
    EXPECT_EQ(binary->bytes, bytes);
    EXPECT_TRUE(other.ReadValue(Root::CurrentUser, R"(SOFTWARE\TAVOWin\WindowAtributes)", "Empty")
                    ->bytes.empty());
    EXPECT_EQ(other.ReadValue(Root::CurrentUser, R"(SOFTWARE\TAVOWin)", "")->text, "");
}

TEST_F(RegistryTest, TheFileIsReadableText) {
    registry_.WriteString(Root::CurrentUser, R"(SOFTWARE\TAVOWin\RecentFiles)", "0", "/a \"b\".rb");
    registry_.WriteBinary(Root::CurrentUser, R"(SOFTWARE\TAVOWin\WindowAtributes)", "Main",
                          std::vector<std::uint8_t>{0x0a, 0x00, 0xff});
    registry_.WriteString(Root::ClassesRoot, R"(Kelrun.RuleBaseCOM)", "", "RuleBaseCOM");
    EXPECT_EQ(ReadFile(File()),
              "Tavo Registry 2\n"
              "\n[HKEY_CURRENT_USER\\SOFTWARE]\n"
              "\n[HKEY_CURRENT_USER\\SOFTWARE\\TAVOWin]\n"
              "\n[HKEY_CURRENT_USER\\SOFTWARE\\TAVOWin\\RecentFiles]\n"
              "\"0\"=\"/a \\\"b\\\".rb\"\n"
              "\n[HKEY_CURRENT_USER\\SOFTWARE\\TAVOWin\\WindowAtributes]\n"
              "\"Main\"=hex:0a,00,ff\n"
              "\n[HKEY_CLASSES_ROOT\\Kelrun.RuleBaseCOM]\n"
              "@=\"RuleBaseCOM\"\n"
              "\nEnd of Tavo Registry\n");
}

TEST_F(RegistryTest, KeysAreATreeUnderTwoSeparateRoots) {
    registry_.CreateKey(Root::CurrentUser, R"(A\B\C)");
    EXPECT_TRUE(registry_.KeyExists(Root::CurrentUser, "A"));
    EXPECT_TRUE(registry_.KeyExists(Root::CurrentUser, R"(A\B)"));
    EXPECT_TRUE(registry_.KeyExists(Root::CurrentUser, R"(\A\\B\C\)"));  // empty parts are skipped
    EXPECT_FALSE(registry_.KeyExists(Root::ClassesRoot, "A"));

    registry_.WriteString(Root::CurrentUser, R"(A\B)", "kept", "1");
    registry_.CreateKey(Root::CurrentUser, R"(A\B)");  // an existing key stays as it is
    EXPECT_EQ(ReadString(Root::CurrentUser, R"(A\B)", "kept"), "1");

    registry_.CreateKey(Root::CurrentUser, R"(A\B2)");
    EXPECT_TRUE(registry_.DeleteKey(Root::CurrentUser, R"(A\B)"));
    EXPECT_FALSE(registry_.KeyExists(Root::CurrentUser, R"(A\B\C)"));
    EXPECT_FALSE(registry_.KeyExists(Root::CurrentUser, R"(A\B)"));
    EXPECT_TRUE(registry_.KeyExists(Root::CurrentUser, R"(A\B2)"));
    EXPECT_FALSE(registry_.DeleteKey(Root::CurrentUser, R"(A\B)"));
    EXPECT_THROW(registry_.DeleteKey(Root::CurrentUser, R"(\)"), std::invalid_argument);
}

TEST_F(RegistryTest, NamesCompareIgnoringCaseAndKeepTheirFirstSpelling) {
    registry_.WriteString(Root::CurrentUser, R"(Software\TavoWin)", "Value", "1");
    registry_.WriteString(Root::CurrentUser, R"(SOFTWARE\TAVOWIN)", "VALUE", "2");
    EXPECT_EQ(ReadString(Root::CurrentUser, R"(software\tavowin)", "value"), "2");
    EXPECT_EQ(registry_.SubKeys(Root::CurrentUser, ""), std::vector<std::string>{"Software"});
    EXPECT_EQ(registry_.SubKeys(Root::CurrentUser, "SOFTWARE"),
              std::vector<std::string>{"TavoWin"});
    EXPECT_EQ(registry_.ValueNames(Root::CurrentUser, R"(Software\TavoWin)"),
              std::vector<std::string>{"Value"});
    EXPECT_TRUE(registry_.DeleteValue(Root::CurrentUser, R"(SOFTWARE\tavowin)", "vAlUe"));
    EXPECT_TRUE(registry_.ValueNames(Root::CurrentUser, R"(Software\TavoWin)").empty());
}

TEST_F(RegistryTest, SubkeysAreSortedAndValuesKeepTheirOrder) {
    for (const char* name : {"b", "C", "a"}) {
        registry_.CreateKey(Root::ClassesRoot, std::string("K\\") + name);
        registry_.WriteString(Root::ClassesRoot, "K", name, name);
    }
    registry_.WriteString(Root::ClassesRoot, "K", "b", "again");  // rewriting keeps the place
    EXPECT_EQ(registry_.SubKeys(Root::ClassesRoot, "K"), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_EQ(registry_.ValueNames(Root::ClassesRoot, "K"),
              (std::vector<std::string>{"b", "C", "a"}));
}

TEST_F(RegistryTest, AStringAndABinaryValueReplaceEachOther) {
    registry_.WriteString(Root::CurrentUser, "K", "v", "text");
    registry_.WriteBinary(Root::CurrentUser, "K", "v", std::vector<std::uint8_t>{1, 2});
    const auto value = registry_.ReadValue(Root::CurrentUser, "K", "v");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, ValueType::Binary);
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(registry_.ValueNames(Root::CurrentUser, "K").size(), 1u);
}

TEST_F(RegistryTest, AKeyNameWithAControlCharacterIsRefusedBeforeAnythingIsWritten) {
    EXPECT_THROW(registry_.CreateKey(Root::CurrentUser, "bad\nname"), std::invalid_argument);
    EXPECT_THROW(registry_.WriteString(Root::CurrentUser, std::string("a\\b\0c", 5), "v", "x"),
                 std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(RegistryTest, WritingLeavesOnlyTheStoreAndItsLockFile) {
    for (int i = 0; i < 5; ++i)
        registry_.WriteString(Root::CurrentUser, "K", std::to_string(i), "x");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(File().parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry", "registry.lock"}));
}

TEST_F(RegistryTest, AnEmptyFileIsAnEmptyStore) {
    std::filesystem::create_directories(File().parent_path());
    WriteFile(File(), "");
    EXPECT_FALSE(registry_.KeyExists(Root::CurrentUser, "A"));
    registry_.WriteString(Root::CurrentUser, "A", "v", "1");
    EXPECT_EQ(ReadString(Root::CurrentUser, "A", "v"), "1");
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenIsReported) {
    // The directory of the store is a file: root may write anywhere, but not there.
    std::filesystem::create_directories(File().parent_path());
    WriteFile(File().parent_path() / "plain", "");
    Registry blocked(File().parent_path() / "plain" / "registry");
    EXPECT_THROW(blocked.WriteString(Root::CurrentUser, "A", "v", "1"), RegistryError);
}

struct DamagedCase {
    const char* what;
    const char* text;
};

void PrintTo(const DamagedCase& damaged, std::ostream* out) {
    *out << damaged.what;
}

class DamagedRegistryTest : public RegistryTest,
                            public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedRegistryTest, IsReportedAndNeverOverwritten) {
    std::filesystem::create_directories(File().parent_path());
    WriteFile(File(), GetParam().text);
    EXPECT_THROW(registry_.KeyExists(Root::CurrentUser, "A"), RegistryError);
    EXPECT_THROW(registry_.ReadValue(Root::CurrentUser, "A", "v"), RegistryError);
    EXPECT_THROW(registry_.WriteString(Root::CurrentUser, "A", "v", "1"), RegistryError);
    EXPECT_THROW(registry_.DeleteKey(Root::CurrentUser, "A"), RegistryError);
    EXPECT_EQ(ReadFile(File()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedRegistryTest,
    ::testing::Values(
        DamagedCase{"NoHeader", "[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n"},
        DamagedCase{"BinaryGarbage",
                    "\x7f"
                    "ELF\x02\x01\x01\x00\x00"},
        DamagedCase{"CutShort", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"unfinished"},
        DamagedCase{"UnknownRoot", "Tavo Registry 1\n[HKEY_LOCAL_MACHINE\\A]\n"},
        DamagedCase{"EmptyKeyName", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A\\\\B]\n"},
        DamagedCase{"UnclosedKey", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A\n"},
        DamagedCase{"ValueBeforeKey", "Tavo Registry 1\n\"v\"=\"1\"\n"},
        DamagedCase{"BadEscape", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"\\q\"\n"},
        DamagedCase{"ShortHexEscape", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"\\x4\"\n"},
        DamagedCase{"OddHex", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:0a,0\n"},
        DamagedCase{"TrailingComma", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:0a,\n"},
        DamagedCase{"TextAfterString", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n@=\"1\" x\n"},
        DamagedCase{"NoEquals", "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\" \"1\"\n"},
        DamagedCase{"DuplicateValue",
                    "Tavo Registry 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n\"V\"=\"2\"\n"}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.what; });

TEST_F(RegistryTest, TheErrorNamesTheFileAndTheLine) {
    std::filesystem::create_directories(File().parent_path());
    WriteFile(File(), "Tavo Registry 1\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=7\n");
    try {
        registry_.KeyExists(Root::CurrentUser, "A");
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "damaged registry file " + File().string() +
                      ", line 4: expected a quoted string or hex: bytes");
    }
}

// A store cut at any line end (a full disk, a copy broken off) is damage, never a smaller store.
TEST_F(RegistryTest, AStoreCutShortIsReportedAndNeverOverwritten) {
    registry_.WriteString(Root::CurrentUser, "A", "v", "1");
    const std::string whole = ReadFile(File());
    for (std::size_t end = 0; (end = whole.find('\n', end) + 1) < whole.size();) {
        WriteFile(File(), whole.substr(0, end));
        EXPECT_THROW(registry_.WriteString(Root::CurrentUser, "A", "w", "2"), RegistryError) << end;
        EXPECT_EQ(ReadFile(File()), whole.substr(0, end));
    }
    try {
        registry_.KeyExists(Root::CurrentUser, "A");
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "damaged registry file " + File().string() +
                      ", line 6: the store was cut short: its end line \"End of Tavo Registry\" "
                      "is missing");
    }
}

TEST_F(RegistryTest, CommentsBlankLinesAndRepeatedKeysAreRead) {
    std::filesystem::create_directories(File().parent_path());
    WriteFile(File(),
              "Tavo Registry 1\r\n; written by hand\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
              "\"x\"=\"1\"\r\n  \r\n[HKEY_CURRENT_USER\\A]\r\n\"y\"=hex:\r\n");
    EXPECT_EQ(ReadString(Root::CurrentUser, "A", "x"), "1");
    EXPECT_TRUE(registry_.ReadValue(Root::CurrentUser, "A", "y")->bytes.empty());
}

TEST(RegistryDefaultPath, ComesFromTheEnvironment) {
    {
        const ScopedEnvironment store("TAVO_REGISTRY", "/tmp/store");
        EXPECT_EQ(Registry::DefaultPath(), "/tmp/store");
    }
    const ScopedEnvironment store("TAVO_REGISTRY", std::nullopt);
    const ScopedEnvironment home("HOME", "/home/ann");
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", "/etc/ann");
        EXPECT_EQ(Registry::DefaultPath(), "/etc/ann/tavo/registry");
    }
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", "relative/dir");  // to be ignored
        EXPECT_EQ(Registry::DefaultPath(), "/home/ann/.config/tavo/registry");
    }
    const ScopedEnvironment config("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(Registry::DefaultPath(), "/home/ann/.config/tavo/registry");
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kValuesPerProcess = 150;
    registry_.CreateKey(Root::CurrentUser, "Shared");
    std::vector<pid_t> children;
    for (const char* writer : {"first", "second"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int exitCode = 0;
            try {
                Registry own(File());
                for (int i = 0; i < kValuesPerProcess; ++i) {
                    own.WriteString(Root::CurrentUser, "Shared", writer + std::to_string(i),
                                    std::to_string(i));
                }
            } catch (...) {
                exitCode = 1;
            }
            ::_exit(exitCode);  // no test-framework teardown in the child
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(registry_.ValueNames(Root::CurrentUser, "Shared").size(), 2u * kValuesPerProcess);
    EXPECT_EQ(ReadString(Root::CurrentUser, "Shared", "first149"), "149");
    EXPECT_EQ(ReadString(Root::CurrentUser, "Shared", "second0"), "0");
}

}  // namespace
