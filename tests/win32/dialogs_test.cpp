// The About box, the settings dialog and the file choosers, opened for real over the main window and
// driven from a timer inside their own modal loop; the settings land in the registry of the Wine prefix.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/command_ids.h"
#include "common/string_table.h"
#include "platform/windows/file_access.h"
#include "settings/settings.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"
#include "win32/center_window.h"
#include "win32/main_frame.h"
#include "win32/resources/resource_ids.h"
#include "win32/settings_dialog.h"
#include "win32/win32_prompts.h"

namespace propdesk {
namespace {

TEST(CenteredPosition, CentresOnTheWindowAndStaysInsideTheArea) {
  const RECT screen{0, 0, 1024, 768};
  struct Case {
    const char* what;
    SIZE size;
    RECT centre;
    RECT area;
    POINT expected;
  };
  const Case cases[] = {
      {"inside", {200, 100}, {100, 100, 500, 400}, screen, {200, 200}},
      {"centre wider than the window", {300, 100}, {400, 300, 500, 400}, screen, {300, 300}},
      {"past the right and bottom edges", {200, 100}, {900, 700, 1300, 800}, screen, {824, 668}},
      {"past the left and top edges", {200, 100}, {-300, -200, 100, 100}, screen, {0, 0}},
      {"larger than the area", {1200, 900}, screen, screen, {0, 0}},
      {"halves round toward zero", {101, 101}, {-301, -301, 0, 0}, {-1000, -1000, 1000, 1000}, {-200, -200}},
      {"work area below a bar", {100, 760}, {0, 30, 1024, 768}, {0, 30, 1024, 768}, {462, 30}},
  };
  for (const Case& c : cases) {
    const POINT at = CenteredPosition(c.size, c.centre, c.area);
    EXPECT_EQ(at.x, c.expected.x) << c.what;
    EXPECT_EQ(at.y, c.expected.y) << c.what;
  }
}

class Win32Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
    GetSettings() = Settings{};
    frame = MainFrame::Create(&prompts);
    ASSERT_TRUE(frame);
  }
  void TearDown() override {
    frame.reset();
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    GetSettings() = Settings{};
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
  }

  static std::wstring SettingsKey() { return windows::Wide(kSettingsKey); }

  // Runs open, which shows a modal dialog over the frame; drive gets the dialog once it shows and
  // must close it (else it is cancelled). Answers whether a dialog showed.
  bool WithDialog(const std::function<void()>& open, const std::function<void(HWND dialog)>& drive) {
    driver_ = {frame->Window(), drive, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveDialog);
    open();
    KillTimer(nullptr, timer);
    return driver_.seen;
  }
  bool WithCommandDialog(int command, const std::function<void(HWND dialog)>& drive) {
    return WithDialog([&] { SendMessageW(frame->Window(), WM_COMMAND, static_cast<WPARAM>(command), 0); }, drive);
  }

  static void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  static bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  static bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
  static std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
  }

  std::optional<std::wstring> StoredText(const wchar_t* name) const {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return text;
  }
  std::optional<DWORD> StoredNumber(const wchar_t* name) const {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegGetValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), name, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return number;
  }

  test::ScriptedPrompts prompts;
  std::unique_ptr<MainFrame> frame;

 private:
  struct Driver {
    HWND owner;
    std::function<void(HWND)> drive;
    bool seen;
  };
  static void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = GetLastActivePopup(driver_.owner);
    if (driver_.seen || dialog == driver_.owner || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    driver_.seen = true;
    driver_.drive(dialog);
    // A driver that left the dialog open must not leave the test waiting.
    if (IsWindowVisible(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  static inline Driver driver_{};
};

// Over a minimised frame the box is centred on the screen's work area instead.
TEST_F(Win32Dialogs, AboutBoxOpensOwnedByTheFrameAndCentredOverIt) {
  MoveWindow(frame->Window(), 150, 120, 500, 300, TRUE);
  RECT frameRect{};
  GetWindowRect(frame->Window(), &frameRect);
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  for (const bool minimised : {false, true}) {
    if (minimised) ShowWindow(frame->Window(), SW_MINIMIZE);
    const RECT& centre = minimised ? workArea : frameRect;
    HWND owner = nullptr;
    RECT box{};
    ASSERT_TRUE(WithCommandDialog(ID_APP_ABOUT, [&](HWND dialog) {
      owner = GetWindow(dialog, GW_OWNER);
      GetWindowRect(dialog, &box);
      Click(dialog, IDOK);
    })) << minimised;
    EXPECT_EQ(owner, frame->Window());
    EXPECT_EQ(box.left, (centre.left + centre.right) / 2 - (box.right - box.left) / 2) << minimised;
    EXPECT_EQ(box.top, (centre.top + centre.bottom) / 2 - (box.bottom - box.top) / 2) << minimised;
  }
}

TEST_F(Win32Dialogs, OkTakesEveryControlIntoTheRecordAndTheRegistry) {
  GetSettings().Native2AsciiPath = "C:\\old\\n2a.exe";
  const std::wstring newPath = L"C:\\ツール\\変換.exe";
  ASSERT_TRUE(WithCommandDialog(ID_TOOL_SETTINGS, [&](HWND dialog) {
    EXPECT_TRUE(IsChecked(dialog, IDC_READONLYOPEN));
    EXPECT_FALSE(IsChecked(dialog, IDC_USENATIVE2ASCII));
    EXPECT_EQ(ItemText(dialog, IDC_NATIVE2ASCIIPATH), L"C:\\old\\n2a.exe");
    for (const int id : {IDC_PATHLABEL, IDC_NATIVE2ASCIIPATH, IDC_BROWSE}) EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    Click(dialog, IDC_USENATIVE2ASCII);
    for (const int id : {IDC_PATHLABEL, IDC_NATIVE2ASCIIPATH, IDC_BROWSE}) EXPECT_TRUE(IsEnabled(dialog, id)) << id;
    SetDlgItemTextW(dialog, IDC_NATIVE2ASCIIPATH, newPath.c_str());
    Click(dialog, IDC_READONLYOPEN);
    Click(dialog, IDC_KEEPUNTOUCHEDLINES);
    Click(dialog, IDOK);
  }));
  const Settings expected{false, false, true, windows::Narrow(newPath), true};
  EXPECT_EQ(GetSettings(), expected);
  EXPECT_EQ(StoredNumber(L"ReadOnlyOpen"), 0u);
  EXPECT_EQ(StoredNumber(L"ExitByESC"), 0u);
  EXPECT_EQ(StoredNumber(L"UseNative2Ascii"), 1u);
  EXPECT_EQ(StoredText(L"Native2AsciiPath"), newPath);
  EXPECT_EQ(StoredNumber(L"KeepUntouchedLines"), 1u);
}

// The path's limit counts code page 932 bytes: each 日 is two of them (three in UTF-8).
TEST_F(Win32Dialogs, TooLongAPathIsDroppedAndCancelChangesNothing) {
  const std::wstring longest(129, L'日');
  struct Case {
    std::wstring typed;
    int button;
    std::optional<std::wstring> storedPath;
    bool takesBoxes;
  };
  const Case cases[] = {
      {longest, IDOK, longest, true},
      {longest + L"a", IDOK, L"C:\\old.exe", true},
      {L"C:\\new.exe", IDCANCEL, std::nullopt, false},
  };
  for (const Case& c : cases) {
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey().c_str());
    GetSettings() = Settings{};
    GetSettings().Native2AsciiPath = "C:\\old.exe";
    ASSERT_TRUE(WithCommandDialog(ID_TOOL_SETTINGS, [&](HWND dialog) {
      Click(dialog, IDC_EXITBYESC);
      SetDlgItemTextW(dialog, IDC_NATIVE2ASCIIPATH, c.typed.c_str());
      Click(dialog, c.button);
    }));
    EXPECT_EQ(StoredText(L"Native2AsciiPath"), c.storedPath) << c.typed.size();
    EXPECT_EQ(GetSettings().Native2AsciiPath, windows::Narrow(c.storedPath.value_or(L"C:\\old.exe")));
    EXPECT_EQ(GetSettings().ExitByESC, c.takesBoxes);
  }
}

TEST_F(Win32Dialogs, BrowsePutsTheChosenProgramIntoTheFieldWithKeepSyntaxWhileItFits) {
  const std::wstring folder = L"C:\\ツール\\";
  const std::wstring ownConverter = L"propdesk-native2ascii.exe";
  // A path of 36 + 2n code page 932 bytes: with " -keepsyntax" 258 bytes for n = 105, 260 for 106.
  const auto crowded = [&](std::size_t n) { return folder + std::wstring(n, L'長') + L"\\" + ownConverter; };
  struct Case {
    std::optional<std::wstring> chosen;
    std::wstring shown;
  };
  const Case cases[] = {
      {folder + ownConverter, folder + ownConverter + L" -keepsyntax"},
      {crowded(105), crowded(105) + L" -keepsyntax"},
      {crowded(106), crowded(106)},
      {folder + L"native2ascii.exe", folder + L"native2ascii.exe"},
      {std::nullopt, L"C:\\old.exe"},
  };
  GetSettings() = Settings{true, false, true, "C:\\old.exe", false};
  const Case* current = nullptr;
  HWND chooserOwner = nullptr;
  const ProgramChooser chooser = [&](HWND owner) -> std::optional<std::string> {
    chooserOwner = owner;
    if (!current->chosen) return std::nullopt;
    return windows::Narrow(*current->chosen);
  };
  ASSERT_TRUE(WithDialog([&] { RunSettingsDialog(frame->Window(), chooser); }, [&](HWND dialog) {
    for (const Case& c : cases) {
      current = &c;
      SetDlgItemTextW(dialog, IDC_NATIVE2ASCIIPATH, L"C:\\old.exe");
      Click(dialog, IDC_BROWSE);
      EXPECT_EQ(chooserOwner, dialog);
      EXPECT_EQ(ItemText(dialog, IDC_NATIVE2ASCIIPATH), c.shown);
    }
    Click(dialog, IDCANCEL);
  }));
  EXPECT_EQ(GetSettings().Native2AsciiPath, "C:\\old.exe");
}

// A file named relative to the current folder, as on the command line, must stay the same file
// after a chooser has been used for another folder.
TEST_F(Win32Dialogs, FileChoosersGiveTheTypedPathAndLeaveTheCurrentFolderAlone) {
  test::TempDir folder;
  const std::string existing = folder.File("日本.properties");
  test::WriteFileBytes(existing, "k=v");
  const auto backslashed = [](std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  };
  const struct {
    FileChooserKind kind;
    std::string typed;
    std::string chosen;
  } cases[] = {
      {FileChooserKind::Open, existing, existing},
      {FileChooserKind::Save, folder.File("新規"), folder.File("新規.properties")},
  };
  std::string filter;
  LoadText(IDS_PROPERTIES_FILTER, filter);
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  for (const auto& c : cases) {
    std::optional<std::string> chosen;
    ASSERT_TRUE(WithDialog([&] { chosen = ChooseFile(c.kind, filter, "properties", frame->Window()); },
                           [&](HWND dialog) {
                             SetDlgItemTextW(dialog, cmb13, windows::Wide(backslashed(c.typed)).c_str());
                             Click(dialog, IDOK);
                           }));
    EXPECT_EQ(backslashed(chosen.value_or("(none)")), backslashed(c.chosen));
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(after), std::wstring(before));
  }
}

}  // namespace
}  // namespace propdesk
