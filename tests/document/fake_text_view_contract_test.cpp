#include "support/fake_text_view.h"
#include "support/text_view_contract.h"

namespace propdesk::test {
namespace {

struct FakeTextViewFactory {
  static std::unique_ptr<TextView> Create() { return std::make_unique<FakeTextView>(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(FakeView, TextViewContract, ::testing::Types<FakeTextViewFactory>);

}  // namespace
}  // namespace propdesk::test
