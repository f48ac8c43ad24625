#pragma once
// The text fields of the Find and Replace dialogs. A field holds native text of at most
// kMaxSearchTextBytes bytes, counted in code page 932, as the platform's dialogs limit theirs:
// what is typed or pasted goes through the code page and back, ends at its first line break like
// a paste into a one-line field, and is cut at a character boundary where the text would pass the
// limit. Typing into a full field is refused.
#include <QLineEdit>

#include <string>
#include <string_view>

namespace propdesk {

class SearchTextField final : public QLineEdit {
 public:
  explicit SearchTextField(QWidget* parent);

  // The field's text as native bytes.
  std::string NativeText() const;
  // Shows native text, cut to the limit on a character boundary.
  void SetNativeText(std::string_view native);
};

}  // namespace propdesk
