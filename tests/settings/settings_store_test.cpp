// Loading and saving the five options through the per-user registry file, with real files in a
// temporary XDG_CONFIG_HOME.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

#include "settings/registry_file.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace propdesk {

void PrintTo(const Settings& s, std::ostream* out) {
  *out << "{" << s.ReadOnlyOpen << ", " << s.ExitByESC << ", " << s.UseNative2Ascii << ", \"" << s.Native2AsciiPath
       << "\"}";
}

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kKeyHeader =
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk]\r\n";

// Sets an environment variable for the life of a test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { GetSettings() = Settings{}; }

  std::string Folder() const { return dir_.File("Orvandi"); }
  std::string StorePath() const { return dir_.File("Orvandi/Propdesk.reg"); }
  void WriteStore(std::string_view bytes) const {
    fs::create_directories(Folder());
    test::WriteFileBytes(StorePath(), bytes);
  }
  static Settings LoadFrom(const Settings& start) {
    GetSettings() = start;
    LoadSettings();
    return GetSettings();
  }
  static void Save(const Settings& record) {
    GetSettings() = record;
    SaveSettings();
  }

  test::TempDir dir_;
  ScopedEnv configHome_{"XDG_CONFIG_HOME", dir_.path().c_str()};
};

const Settings kDefaults{};

TEST_F(SettingsStore, WithoutAFileLoadingGivesDefaultsAndCreatesNothing) {
  EXPECT_EQ(LoadFrom(Settings{false, true, true, "/old"}), kDefaults);
  EXPECT_FALSE(fs::exists(Folder()));
}

TEST_F(SettingsStore, EachStoredFormReadsByTheTypeRules) {
  const std::string path258(258, 'p');
  const std::string japanese258 = [] {
    std::string text;
    for (int i = 0; i < 86; ++i) text += "日";
    return text;
  }();
  const struct {
    std::string_view what;
    std::string lines;
    Settings expected;
  } cases[] = {
      {"no values", "", {true, false, false, ""}},
      {"zero turns read-only off", "\"ReadOnlyOpen\"=dword:00000000", {false, false, false, ""}},
      {"2 is not on", "\"ReadOnlyOpen\"=dword:00000002", {false, false, false, ""}},
      {"all bits are not on", "\"ReadOnlyOpen\"=dword:ffffffff", {false, false, false, ""}},
      {"a string \"1\" is the default", "\"ReadOnlyOpen\"=\"1\"\r\n\"ExitByESC\"=\"1\"", {true, false, false, ""}},
      {"binary 01 00 00 00 is the default", "\"ExitByESC\"=hex:01,00,00,00", {true, false, false, ""}},
      {"a dword in hex form", "\"ExitByESC\"=hex(4):01,00,00,00", {true, true, false, ""}},
      {"a dword longer than four bytes", "\"ExitByESC\"=hex(4):01,00,00,00,00", {true, false, false, ""}},
      {"a dword shorter than four bytes", "\"ExitByESC\"=hex(4):01", {true, false, false, ""}},
      {"names ignore case", "\"usenative2ascii\"=dword:00000001", {true, false, true, ""}},
      {"keeping untouched lines", "\"KeepUntouchedLines\"=dword:00000001", {true, false, false, "", true}},
      {"a path is taken as stored", "\"Native2AsciiPath\"=\" /a b/n2a -x \"", {true, false, false, " /a b/n2a -x "}},
      {"a path as REG_EXPAND_SZ is empty", "\"Native2AsciiPath\"=hex(2):2f,00,78,00,00,00", {true, false, false, ""}},
      {"a path as REG_SZ in hex form", "\"Native2AsciiPath\"=hex(1):2f,00,78,00,00,00", {true, false, false, "/x"}},
      {"a path as a number is empty", "\"Native2AsciiPath\"=dword:00000001", {true, false, false, ""}},
      {"258 bytes are taken", "\"Native2AsciiPath\"=\"" + path258 + "\"", {true, false, false, path258}},
      {"258 bytes of Japanese", "\"Native2AsciiPath\"=\"" + japanese258 + "\"", {true, false, false, japanese258}},
      {"259 bytes leave the path", "\"Native2AsciiPath\"=\"" + path258 + "x\"", {true, false, false, "previous"}},
      {"4000 bytes leave the path", "\"Native2AsciiPath\"=\"" + std::string(4000, 'p') + "\"",
       {true, false, false, "previous"}},
  };
  for (const auto& c : cases) {
    WriteStore(std::string(kKeyHeader) + c.lines + "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk\\Sub]\r\n"
                                                   "\"ExitByESC\"=dword:00000001\r\n");
    EXPECT_EQ(LoadFrom(Settings{true, false, false, "previous"}), c.expected) << c.what;
  }
}

TEST_F(SettingsStore, SavingCreatesTheFolderAndWritesAllFiveValues) {
  const Settings record{false, true, true, "/opt/jdk/bin/native2ascii", true};
  Save(record);
  EXPECT_EQ(test::ReadFileBytes(StorePath()),
            std::string(kKeyHeader) +
                "\"ReadOnlyOpen\"=dword:00000000\r\n\"ExitByESC\"=dword:00000001\r\n"
                "\"UseNative2Ascii\"=dword:00000001\r\n\"Native2AsciiPath\"=\"/opt/jdk/bin/native2ascii\"\r\n"
                "\"KeepUntouchedLines\"=dword:00000001\r\n\r\n");
  EXPECT_EQ(fs::status(Folder()).permissions(), fs::perms::owner_all);
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1) << "temporary left";
  EXPECT_EQ(LoadFrom(kDefaults), record);
}

TEST_F(SettingsStore, PathsRoundTripByteForByte) {
  for (const std::string& path : {
           std::string(R"(C:\Program Files\Java\bin\native2ascii.exe)"),
           std::string(R"("/opt/my jdk/bin/native2ascii" -encoding MS932)"),
           std::string("/home/ユーザー/jdk/bin/native2ascii"),
           std::string("\\\"\\\\\""),
           std::string("/tmp/\xFF\xFE-not-utf8"),
           std::string("/tmp/line\nbreak"),
           std::string(),
       }) {
    Save(Settings{false, true, false, path});
    EXPECT_EQ(LoadFrom(kDefaults), (Settings{false, true, false, path})) << test::ReadFileBytes(StorePath());
  }
}

TEST_F(SettingsStore, SavingKeepsWhatTheProgramDoesNotKnow) {
  const std::string foreign =
      "Windows Registry Editor Version 5.00\n\n; kept\n[HKEY_CURRENT_USER\\Software\\Other]\n"
      "\"Keep\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\n"
      "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n  17,18,19\n\n";
  const std::string subkey = "\n[HKEY_CURRENT_USER\\Software\\Orvandi\\Propdesk\\Sub]\n\"ExitByESC\"=dword:00000001";
  WriteStore(foreign +
             "[HKEY_CURRENT_USER\\SOFTWARE\\Orvandi\\Propdesk]\n\"readonlyopen\"=dword:00000000\n"
             "\"Unknown\"=\"stays\"\n\"Native2AsciiPath\"=hex(2):41,00,00,00\n" +
             subkey);
  ::chmod(StorePath().c_str(), 0640);
  EXPECT_EQ(LoadFrom(kDefaults), (Settings{false, false, false, ""}));

  Save(Settings{true, false, true, "/j"});
  EXPECT_EQ(test::ReadFileBytes(StorePath()),
            foreign +
                "[HKEY_CURRENT_USER\\SOFTWARE\\Orvandi\\Propdesk]\n\"ReadOnlyOpen\"=dword:00000001\n"
                "\"Unknown\"=\"stays\"\n\"Native2AsciiPath\"=\"/j\"\n\"ExitByESC\"=dword:00000000\n"
                "\"UseNative2Ascii\"=dword:00000001\n\"KeepUntouchedLines\"=dword:00000000\n" +
                subkey);
  EXPECT_EQ(fs::status(StorePath()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SettingsStore, DamagedFilesReadAsDefaultsAndLoseNothingOnASave) {
  using namespace std::string_literals;
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
  const std::string garbage = "\x01\x02junk\0\r\n}{\r\n"s;
  const Settings saved{false, true, true, "/n2a"};
  const struct {
    std::string_view what;
    std::string bytes;
    Settings loaded;
    bool keptAside;  // not an export: its bytes go to Propdesk.reg.damaged before the save
  } cases[] = {
      {"cut in the header", "Windows Registry Ed", kDefaults, true},
      {"binary", binary, kDefaults, true},
      {"UTF-16 export", "\xFF\xFEW\0i\0n\0"s, kDefaults, true},
      {"empty", "", kDefaults, false},
      {"blank", " \r\n\n\t", kDefaults, false},
      {"garbage lines and a cut last line",
       std::string(kKeyHeader) + garbage + "\"ExitByESC\"=dword:00000001\r\n\"ReadOnlyOpen\"=dword:000",
       {true, true, false, ""}, false},
  };
  for (const auto& c : cases) {
    fs::remove_all(Folder());
    WriteStore(c.bytes);
    EXPECT_EQ(LoadFrom(kDefaults), c.loaded) << c.what;
    Save(saved);
    EXPECT_EQ(LoadFrom(kDefaults), saved) << c.what;
    EXPECT_EQ(fs::exists(StorePath() + ".damaged"), c.keptAside) << c.what;
    if (c.keptAside) {
      EXPECT_EQ(test::ReadFileBytes(StorePath() + ".damaged"), c.bytes) << c.what;
    }
  }
  EXPECT_NE(test::ReadFileBytes(StorePath()).find(garbage), std::string::npos) << "garbage inside an export is kept";

  // A copy kept earlier is not replaced, and a copy is as private as the file it keeps.
  WriteStore("first");
  ::chmod(StorePath().c_str(), 0600);
  Save(saved);
  struct stat copy {};
  EXPECT_EQ(::stat((StorePath() + ".damaged").c_str(), &copy), 0);
  EXPECT_EQ(copy.st_mode & 0777, 0600u);
  WriteStore("second");
  Save(saved);
  EXPECT_EQ(test::ReadFileBytes(StorePath() + ".damaged"), "first");
  EXPECT_EQ(test::ReadFileBytes(StorePath() + ".damaged-2"), "second");
}

TEST_F(SettingsStore, AFileTooLargeToReadIsLeftAlone) {
  WriteStore(std::string(kKeyHeader) + "\"ExitByESC\"=dword:00000001\r\n");
  fs::resize_file(StorePath(), std::uintmax_t{17} << 20);
  EXPECT_EQ(LoadFrom(kDefaults), kDefaults);
  Save(Settings{false, false, false, ""});
  EXPECT_EQ(fs::file_size(StorePath()), std::uintmax_t{17} << 20);
  EXPECT_FALSE(fs::exists(StorePath() + ".damaged"));
}

TEST_F(SettingsStore, AStoreThatCannotBeWrittenIsSkipped) {
  const Settings changed{false, true, true, "/n2a"};
  // A file where the folder should be, and a folder where the file should be: refused even to root.
  test::WriteFileBytes(Folder(), "not a folder");
  Save(changed);
  EXPECT_EQ(test::ReadFileBytes(Folder()), "not a folder");
  EXPECT_EQ(LoadFrom(kDefaults), kDefaults);
  fs::remove(Folder());
  fs::create_directories(StorePath());
  Save(changed);
  EXPECT_TRUE(fs::is_directory(StorePath()));
  fs::remove(StorePath());

  // A link as the store is not written through, whatever it names.
  const std::string linked = dir_.File("passwd");
  test::WriteFileBytes(linked, "root:x:0:0:root:/root:/bin/bash\n");
  fs::create_symlink(linked, StorePath());
  Save(changed);
  EXPECT_EQ(test::ReadFileBytes(linked), "root:x:0:0:root:/root:/bin/bash\n");
  EXPECT_TRUE(fs::is_symlink(StorePath()));
  EXPECT_FALSE(fs::exists(StorePath() + ".damaged"));
  fs::remove(StorePath());

  // A file without write permission is read but not replaced.
  const std::string readOnly = std::string(kKeyHeader) + "\"ReadOnlyOpen\"=dword:00000000\r\n";
  WriteStore(readOnly);
  ::chmod(StorePath().c_str(), 0444);
  EXPECT_EQ(LoadFrom(kDefaults), (Settings{false, false, false, ""}));
  Save(changed);
  EXPECT_EQ(test::ReadFileBytes(StorePath()), readOnly);

  if (::geteuid() != 0) {
    ::chmod(StorePath().c_str(), 0644);
    ::chmod(Folder().c_str(), 0500);
    Save(changed);
    EXPECT_EQ(test::ReadFileBytes(StorePath()), readOnly);
  }
}

TEST_F(SettingsStore, TheFileLiesUnderTheConfigHome) {
  EXPECT_EQ(RegistryFilePath(), StorePath());
  {
    // A relative XDG_CONFIG_HOME is not used; HOME/.config is.
    ScopedEnv relative("XDG_CONFIG_HOME", "relative");
    ScopedEnv home("HOME", dir_.path().c_str());
    EXPECT_EQ(RegistryFilePath(), dir_.File(".config/Orvandi/Propdesk.reg"));
  }
  ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(RegistryFilePath(), "");
  Save(Settings{false, true, true, "/n2a"});
  EXPECT_EQ(LoadFrom(kDefaults), kDefaults);
}

}  // namespace
}  // namespace propdesk
