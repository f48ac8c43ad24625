// The edit control's view keeps the contract of every text view.
#include "win32/win32_text_view.h"

#include <memory>

#include "support/text_view_contract.h"

namespace propdesk::test {
namespace {

struct EditControlViewFactory {
  static constexpr bool kUndoKeepsModified = true;
  // An edit control of its own for each test; the windows go with the test program.
  static std::unique_ptr<TextView> Create() {
    HWND edit = CreateWindowExW(0, L"EDIT", nullptr, WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return std::make_unique<Win32TextView>(edit);
  }
};

INSTANTIATE_TYPED_TEST_SUITE_P(EditControl, TextViewContract, ::testing::Types<EditControlViewFactory>);

}  // namespace
}  // namespace propdesk::test
