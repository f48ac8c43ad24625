#pragma once
// The text fields of the Find and Replace dialogs. A field holds native text of at most
// kMaxSearchTextBytes bytes, counted in code page 932, since the search state keeps the texts in
// buffers of that size: what is typed or pasted is taken in as the edit view takes it (a character without an exact code
// page 932 form as its \uxxxx escape text), ends at its first line break like a paste into a
// one-line field, and is cut before the first character (or escape text) that would pass the
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
