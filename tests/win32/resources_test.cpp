// The Windows resources read back with the system's wide calls and compared with the sources they
// were generated from: the string table, the menu table, the version.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "common/menu_table.h"
#include "common/utf16.h"
#include "common/version.h"
#include "win32/resources/resource_ids.h"

namespace propdesk {
namespace {

struct StringEntry {
  int id;
  std::string_view text;
};

constexpr StringEntry kProgramStrings[] = {
#include "res/strings.inc"
};
constexpr StringEntry kEncodingStrings[] = {
#include "encoding_strings.inc"
};

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::string Utf8(const wchar_t* text, std::size_t length) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

// The bytes of resource `id` of `type`; empty when there is none.
std::string_view ResourceBytes(const wchar_t* type, int id) {
  HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  return {static_cast<const char*>(LockResource(LoadResource(Module(), found))), SizeofResource(Module(), found)};
}

TEST(Win32Resources, EveryStringLoadsAsItsSourceText) {
  std::vector<StringEntry> strings(std::begin(kProgramStrings), std::end(kProgramStrings));
  strings.insert(strings.end(), std::begin(kEncodingStrings), std::end(kEncodingStrings));
  for (const StringEntry& entry : strings) {
    const wchar_t* text = nullptr;  // with a zero size, LoadStringW points into the resource itself
    const int length = LoadStringW(Module(), static_cast<UINT>(entry.id), reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_GT(length, 0) << entry.id;
    EXPECT_EQ(Utf8(text, static_cast<std::size_t>(length)), entry.text) << entry.id;
  }
}

// One line per menu row, in order: "[title]", "id text" or "-", so that a difference reads plainly.
std::vector<std::string> TableRows() {
  std::vector<std::string> rows;
  for (const MenuRow& row : MainMenuTable()) {
    switch (row.kind) {
      case MenuRowKind::Popup:
        rows.push_back("[" + std::string(row.text) + "]");
        break;
      case MenuRowKind::Command:
        rows.push_back(std::to_string(row.id) + " " + row.text + (row.keys ? "\t" + std::string(row.keys) : ""));
        break;
      case MenuRowKind::Separator:
        rows.emplace_back("-");
        break;
    }
  }
  return rows;
}

void AppendLoadedRows(HMENU menu, std::vector<std::string>& rows) {
  for (int index = 0; index < GetMenuItemCount(menu); ++index) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item));
    std::wstring text(item.cch, L'\0');
    item.dwTypeData = text.data();
    ++item.cch;
    ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item));
    if (item.hSubMenu) {
      rows.push_back("[" + Utf8(text.data(), text.size()) + "]");
      AppendLoadedRows(item.hSubMenu, rows);
    } else if (item.fType & MFT_SEPARATOR) {
      rows.emplace_back("-");
    } else {
      EXPECT_EQ(item.fState, MFS_ENABLED | MFS_UNCHECKED) << "nothing is greyed or checked in the resource";
      rows.push_back(std::to_string(item.wID) + " " + Utf8(text.data(), text.size()));
    }
  }
}

TEST(Win32Resources, MenuHasTheTablesItemsInOrder) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_TRUE(menu);
  std::vector<std::string> rows;
  AppendLoadedRows(menu, rows);
  DestroyMenu(menu);
  EXPECT_EQ(rows, TableRows());
}

// An accelerator written as the menu shows its keys, such as "Shift+F3".
std::string KeysText(const ACCEL& accelerator) {
  std::string text;
  if (accelerator.fVirt & FCONTROL) text += "Ctrl+";
  if (accelerator.fVirt & FSHIFT) text += "Shift+";
  if (accelerator.fVirt & FALT) text += "Alt+";
  if (accelerator.key >= VK_F1 && accelerator.key <= VK_F24) return text + "F" + std::to_string(accelerator.key - VK_F1 + 1);
  return text + static_cast<char>(accelerator.key);
}

TEST(Win32Resources, AcceleratorsAreTheWindowsShortcutsOfTheMenu) {
  HACCEL table = LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_TRUE(table);
  std::vector<ACCEL> accelerators(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
  CopyAcceleratorTableW(table, accelerators.data(), static_cast<int>(accelerators.size()));
  DestroyAcceleratorTable(table);
  std::vector<std::string> loaded;
  for (const ACCEL& accelerator : accelerators) {
    EXPECT_TRUE(accelerator.fVirt & FVIRTKEY) << KeysText(accelerator);
    loaded.push_back(KeysText(accelerator) + " " + std::to_string(accelerator.cmd));
  }
  std::vector<std::string> shortcuts;
  for (const MenuRow& row : MainMenuTable()) {
    if (row.keys && row.handler == MenuKeys::Window) shortcuts.push_back(row.keys + (" " + std::to_string(row.id)));
  }
  EXPECT_EQ(loaded, shortcuts);
}

TEST(Win32Resources, IconHasItsSizesAndEachImageLoads) {
  // The group's directory: a 6-byte header, then 14-byte entries (width, height, colours, reserved,
  // planes, bits per pixel, size, image id).
  const std::string_view group = ResourceBytes(RT_GROUP_ICON, IDR_MAINFRAME);
  ASSERT_GE(group.size(), 6u);
  std::vector<std::string> images;
  for (std::size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
    std::uint16_t bits = 0, imageId = 0;
    std::memcpy(&bits, group.data() + entry + 6, 2);
    std::memcpy(&imageId, group.data() + entry + 12, 2);
    std::string_view image = ResourceBytes(RT_ICON, imageId);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<char*>(image.data())),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
    ASSERT_TRUE(icon) << "image " << imageId;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    images.push_back(std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight) + " " +
                     std::to_string(bits) + "-bit");
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_EQ(images, (std::vector<std::string>{"16x16 4-bit", "32x32 4-bit", "48x48 4-bit", "256x256 32-bit"}));
}

// The parts of an extended dialog template that the window relies on.
struct DialogTemplate {
  std::string caption;
  std::string font;
  int pointSize = 0;
  int width = 0;
  int height = 0;
  std::vector<int> controlIds;  // in tab order
  std::vector<std::string> controlTexts;
};

class TemplateReader {
 public:
  explicit TemplateReader(std::string_view bytes) : bytes_(bytes) {}
  template <typename T>
  T Read() {
    T value{};
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  // A name or an ordinal: 0xFFFF and a number, or a zero-ended UTF-16 text.
  std::string ReadNameOrOrdinal() {
    if (Peek() == 0xFFFF) {
      at_ += 2;
      return "#" + std::to_string(Read<std::uint16_t>());
    }
    std::u16string text;
    for (char16_t unit; (unit = Read<char16_t>()) != 0;) text += unit;
    return Utf16ToUtf8(text);
  }
  void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }
  void Skip(std::size_t count) { at_ += count; }

 private:
  std::uint16_t Peek() const {
    std::uint16_t value = 0;
    std::memcpy(&value, bytes_.data() + at_, 2);
    return value;
  }
  std::string_view bytes_;
  std::size_t at_ = 0;
};

DialogTemplate LoadedDialog(int id) {
  const std::string_view bytes = ResourceBytes(RT_DIALOG, id);
  DialogTemplate dialog;
  if (bytes.size() < 26) return dialog;
  TemplateReader reader(bytes);
  reader.Skip(2 + 2 + 4 + 4);  // version, 0xFFFF, help id, extended style
  const auto style = reader.Read<std::uint32_t>();
  const auto count = reader.Read<std::uint16_t>();
  reader.Skip(4);  // x, y
  dialog.width = reader.Read<std::int16_t>();
  dialog.height = reader.Read<std::int16_t>();
  reader.ReadNameOrOrdinal();  // menu
  reader.ReadNameOrOrdinal();  // class
  dialog.caption = reader.ReadNameOrOrdinal();
  if (style & DS_SETFONT) {
    dialog.pointSize = reader.Read<std::uint16_t>();
    reader.Skip(2 + 1 + 1);  // weight, italic, character set
    dialog.font = reader.ReadNameOrOrdinal();
  }
  for (int control = 0; control < count; ++control) {
    reader.AlignToDword();
    reader.Skip(4 + 4 + 4 + 8);  // help id, extended style, style, position and size
    dialog.controlIds.push_back(reader.Read<std::int32_t>());
    reader.ReadNameOrOrdinal();  // class
    dialog.controlTexts.push_back(reader.ReadNameOrOrdinal());
    reader.Skip(reader.Read<std::uint16_t>());  // creation data
  }
  return dialog;
}

TEST(Win32Resources, DialogsHaveTheirControlsAndFont) {
  struct Expected {
    int id;
    std::string caption;
    int width, height;
    std::vector<int> controlIds;
  };
  const Expected dialogs[] = {
      {IDD_ABOUTBOX, "バージョン情報", 158, 87, {-1, -1, -1, -1, IDOK}},
      {IDD_SETTINGS, "設定", 258, 97,
       {IDC_READONLYOPEN, IDC_EXITBYESC, IDC_USENATIVE2ASCII, IDC_PATHLABEL, IDC_NATIVE2ASCIIPATH, IDC_BROWSE,
        IDC_KEEPUNTOUCHEDLINES, IDOK, IDCANCEL}},
  };
  for (const Expected& expected : dialogs) {
    const DialogTemplate dialog = LoadedDialog(expected.id);
    EXPECT_EQ(dialog.caption, expected.caption) << expected.id;
    EXPECT_EQ(dialog.font, "ＭＳ Ｐゴシック") << expected.id;
    EXPECT_EQ(dialog.pointSize, 9) << expected.id;
    EXPECT_EQ(dialog.width, expected.width) << expected.id;
    EXPECT_EQ(dialog.height, expected.height) << expected.id;
    EXPECT_EQ(dialog.controlIds, expected.controlIds) << expected.id;
  }
}

TEST(Win32Resources, VersionIsTheProjectsOwn) {
  // VerQueryValueW needs a copy it may write to.
  const std::string_view resource = ResourceBytes(RT_VERSION, 1);
  std::vector<char> block(resource.begin(), resource.end());
  ASSERT_FALSE(block.empty());
  for (const wchar_t* name : {L"\\StringFileInfo\\041104B0\\ProductVersion", L"\\StringFileInfo\\041104B0\\FileVersion"}) {
    wchar_t* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), name, reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(Utf8(value, wcsnlen(value, length)), kVersion);
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  std::string fourNumbers = kVersion;  // "0.31" is 0.31.0.0
  while (std::count(fourNumbers.begin(), fourNumbers.end(), '.') < 3) fourNumbers += ".0";
  EXPECT_EQ(std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." + std::to_string(LOWORD(fixed->dwProductVersionMS)) +
                "." + std::to_string(HIWORD(fixed->dwProductVersionLS)) + "." +
                std::to_string(LOWORD(fixed->dwProductVersionLS)),
            fourNumbers);
  EXPECT_EQ(LoadedDialog(IDD_ABOUTBOX).controlTexts.at(2), std::string("version ") + kVersion);
}

TEST(Win32Resources, ManifestAsksForCommonControls6AndPerMonitorDpiOnly) {
  const std::string_view manifest = ResourceBytes(RT_MANIFEST, 1);
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string_view::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string_view::npos);
  // The program makes wide calls and converts with its own tables: it keeps the system's code page.
  EXPECT_EQ(manifest.find("activeCodePage"), std::string_view::npos);
}

}  // namespace
}  // namespace propdesk
