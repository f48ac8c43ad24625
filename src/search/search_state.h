#pragma once
// The remembered find text, replace text and options, shared by the Find and Replace dialogs and
// by find up and find down. Lives as long as the main window; never saved.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace propdesk {

// Bits of SearchState::Flags. The values are those of the Windows find and replace dialogs, so that
// the Windows window can hand the state to them as it is.
inline constexpr std::uint32_t FR_DOWN = 0x1;          // option: search downwards
inline constexpr std::uint32_t FR_MATCHCASE = 0x4;     // option: exact comparison
inline constexpr std::uint32_t FR_FINDNEXT = 0x8;      // action: Find Next pressed
inline constexpr std::uint32_t FR_REPLACE = 0x10;      // action: Replace pressed
inline constexpr std::uint32_t FR_REPLACEALL = 0x20;   // action: Replace All pressed
inline constexpr std::uint32_t FR_DIALOGTERM = 0x40;   // action: the dialog is closing
inline constexpr std::uint32_t FR_HIDEWHOLEWORD = 0x10000;

// The longest find or replace text the dialogs accept, in native bytes.
inline constexpr std::size_t kMaxSearchTextBytes = 79;

struct SearchState {
  std::string FindWhat;     // native text, at most kMaxSearchTextBytes
  std::string ReplaceWith;  // native text, at most kMaxSearchTextBytes; may be empty
  std::uint32_t Flags = FR_DOWN | FR_HIDEWHOLEWORD;

  bool SearchesDown() const { return (Flags & FR_DOWN) != 0; }
  bool MatchesCase() const { return (Flags & FR_MATCHCASE) != 0; }
  void SetSearchesDown(bool down) { SetBit(FR_DOWN, down); }
  void SetMatchesCase(bool matchCase) { SetBit(FR_MATCHCASE, matchCase); }
  // Records the one action a dialog reports, clearing any earlier one.
  void SetAction(std::uint32_t action) {
    Flags = (Flags & ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM)) | action;
  }

 private:
  void SetBit(std::uint32_t bit, bool on) { Flags = on ? (Flags | bit) : (Flags & ~bit); }
};

// The longest prefix of native text that has at most maxBytes bytes and ends on a character
// boundary, for holding a field to kMaxSearchTextBytes without splitting a double-byte character.
std::string_view CutToWholeCharacters(std::string_view native, std::size_t maxBytes);

// What a find or replace field takes in of text entered into it (EnteredViewText), as much as room
// native bytes hold: a character's escape text, or the two escapes of a surrogate pair, is taken
// whole or not at all.
std::u16string FitEnteredText(std::u16string_view entered, std::size_t room);

}  // namespace propdesk
