// The shared text view contract, run against the edit view widget's text view.
#include "qt/edit_view_widget.h"
#include "support/text_view_contract.h"

namespace propdesk::test {
namespace {

// The contract owns the view it tests; this view owns its widget and hands every call on.
class OwningWidgetTextView final : public TextView {
 public:
  const std::string& GetText() const override { return view_.GetText(); }
  bool IsEmpty() const override { return view_.IsEmpty(); }
  void SetText(std::string_view text) override { view_.SetText(text); }
  void ReplaceAllText(std::string_view text) override { view_.ReplaceAllText(text); }
  ByteRange GetSelection() const override { return view_.GetSelection(); }
  void SetSelection(std::size_t start, std::size_t end) override { view_.SetSelection(start, end); }
  void ScrollCaretIntoView() override { view_.ScrollCaretIntoView(); }
  void ReplaceSelection(std::string_view text) override { view_.ReplaceSelection(text); }
  LineColumn GetSelectionStartLineColumn() const override { return view_.GetSelectionStartLineColumn(); }
  bool IsModified() const override { return view_.IsModified(); }
  void SetModified(bool modified) override { view_.SetModified(modified); }
  bool CanUndo() const override { return view_.CanUndo(); }
  void Undo() override { view_.Undo(); }
  void EmptyUndoBuffer() override { view_.EmptyUndoBuffer(); }
  bool IsReadOnly() const override { return view_.IsReadOnly(); }
  void SetReadOnly(bool readOnly) override { view_.SetReadOnly(readOnly); }

 private:
  EditViewWidget widget_;
  TextView& view_ = widget_.textView();
};

struct EditViewWidgetFactory {
  static std::unique_ptr<TextView> Create() { return std::make_unique<OwningWidgetTextView>(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(EditViewWidget, TextViewContract, ::testing::Types<EditViewWidgetFactory>);

}  // namespace
}  // namespace propdesk::test
