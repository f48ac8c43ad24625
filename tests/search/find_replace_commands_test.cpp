// The find and replace commands with a scripted person and dialog side: which dialog opens, what
// the buttons do, and which message is shown over which window.
#include "search/find_replace_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_text_view.h"

namespace propdesk {
namespace {

struct ShownMessage {
  std::string text;
  MessageStyle style;
  MessageOwner owner;
};

class RecordingPrompts : public Prompts {
 public:
  MessageResult ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) override {
    shown.push_back({std::string(text), style, owner});
    return MessageResult::Ok;
  }
  std::optional<std::string> ChooseFileToOpen(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFileToSave(std::string_view, std::string_view) override { return {}; }

  std::vector<ShownMessage> shown;
};

enum class OpenDialog { None, Find, Replace };

// Behaves like the real dialogs: closing reports FR_DIALOGTERM at once, clearing the options.
class ScriptedDialogs : public FindReplaceDialogHost {
 public:
  explicit ScriptedDialogs(SearchState& state) : state_(state) {}

  bool IsDialogOpen() const override { return open != OpenDialog::None; }
  void OpenFindDialog() override { Open(OpenDialog::Find); }
  void OpenReplaceDialog() override { Open(OpenDialog::Replace); }
  void CloseDialog() override {
    if (open == OpenDialog::None) return;
    open = OpenDialog::None;
    state_.Flags = FR_DIALOGTERM;
    if (commands) commands->OnFindReplaceMessage();
  }
  void FocusDialog() override { ++focusCount; }

  // A button press: the dialog's fields and options go into the state with one action bit.
  void Press(std::uint32_t action, const std::string& findWhat, std::uint32_t options = 0,
             const std::string& replaceWith = "") {
    state_.FindWhat = findWhat;
    state_.ReplaceWith = replaceWith;
    state_.Flags = options | action;
    commands->OnFindReplaceMessage();
  }

  FindReplaceCommands* commands = nullptr;
  OpenDialog open = OpenDialog::None;
  int openCount = 0;
  bool openedSearchingDown = false;
  int focusCount = 0;

 private:
  void Open(OpenDialog which) {
    open = which;
    ++openCount;
    openedSearchingDown = state_.SearchesDown();
  }

  SearchState& state_;
};

class FindReplaceCommandsTest : public testing::Test {
 protected:
  FindReplaceCommandsTest() { dialogs.commands = &commands; }

  void ExpectOneMessage(const std::string& text, MessageOwner owner) {
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, text);
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::OkInformation);
    EXPECT_EQ(prompts.shown[0].owner, owner);
  }

  test::FakeTextView view{"abc abc"};
  RecordingPrompts prompts;
  SearchState state;
  ScriptedDialogs dialogs{state};
  FindReplaceCommands commands{view, prompts, dialogs, state};
};

TEST_F(FindReplaceCommandsTest, FindKeysWithoutFindTextOpenTheFindDialogInTheirDirection) {
  commands.OnEditFindUp();
  EXPECT_EQ(dialogs.open, OpenDialog::Find);
  EXPECT_FALSE(dialogs.openedSearchingDown);
  commands.OnEditFindDown();  // a dialog is open: nothing more opens
  EXPECT_EQ(dialogs.openCount, 1);
  EXPECT_TRUE(state.SearchesDown());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(view.scrollCount, 0);
}

TEST_F(FindReplaceCommandsTest, ReplaceDialogOpensSearchingDown) {
  commands.OnEditFindUp();
  dialogs.CloseDialog();
  commands.OnEditReplace();
  EXPECT_EQ(dialogs.open, OpenDialog::Replace);
  EXPECT_TRUE(dialogs.openedSearchingDown);
}

TEST_F(FindReplaceCommandsTest, FindKeysContinueAfterASuccessfulFindNextClosedTheDialog) {
  commands.OnEditFind();
  dialogs.Press(FR_FINDNEXT, "abc", FR_DOWN);
  EXPECT_EQ(dialogs.open, OpenDialog::None);
  EXPECT_EQ(view.GetSelection().end, 3u);
  commands.OnEditFindDown();  // closing left only FR_DIALOGTERM: the keys set the direction themselves
  EXPECT_EQ(view.GetSelection().start, 4u);
  commands.OnEditFindUp();
  EXPECT_EQ(view.GetSelection().start, 0u);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FindReplaceCommandsTest, FindKeyNotFoundTellsTheMainWindowWithTheNativeFindText) {
  state.FindWhat = "\x8C\x9F\x8D\xF5";  // 検索
  view.SetSelection(1, 1);
  commands.OnEditFindDown();
  ExpectOneMessage("\"検索\" が見つかりません。", MessageOwner::MainFrame);
  EXPECT_EQ(view.GetSelection().start, 1u);
}

TEST_F(FindReplaceCommandsTest, FailedFindNextKeepsTheDialogAndGivesItTheFocusBack) {
  commands.OnEditFind();
  dialogs.Press(FR_FINDNEXT, "xyz", FR_DOWN);
  ExpectOneMessage("\"xyz\" が見つかりません。", MessageOwner::FindReplaceDialog);
  EXPECT_EQ(dialogs.open, OpenDialog::Find);
  EXPECT_EQ(dialogs.focusCount, 1);
}

TEST_F(FindReplaceCommandsTest, ReplaceSelectsFirstThenReplacesAndReportsTheEndOverTheDialog) {
  commands.OnEditReplace();
  dialogs.Press(FR_REPLACE, "abc", FR_DOWN, "X");
  EXPECT_EQ(view.GetText(), "abc abc");
  EXPECT_EQ(view.GetSelection().end, 3u);
  dialogs.Press(FR_REPLACE, "abc", FR_DOWN, "X");
  EXPECT_EQ(view.GetText(), "X abc");
  EXPECT_TRUE(prompts.shown.empty());
  dialogs.Press(FR_REPLACE, "abc", FR_DOWN, "X");
  EXPECT_EQ(view.GetText(), "X X");
  ExpectOneMessage("\"abc\" が見つかりません。", MessageOwner::FindReplaceDialog);
  EXPECT_EQ(dialogs.open, OpenDialog::Replace);
  EXPECT_EQ(dialogs.focusCount, 1);
}

TEST_F(FindReplaceCommandsTest, ReplaceAllClosesTheDialogAndReportsTheCountToTheMainWindow) {
  view.SetText("a.a.a");
  commands.OnEditReplace();
  dialogs.Press(FR_REPLACEALL, "a", FR_DOWN, "bb");
  EXPECT_EQ(dialogs.open, OpenDialog::None);
  EXPECT_EQ(view.GetText(), "bb.bb.bb");
  EXPECT_TRUE(view.IsModified());
  ExpectOneMessage("3 個の文字列を置換しました。", MessageOwner::MainFrame);
}

TEST_F(FindReplaceCommandsTest, ReplaceAllUsesTheOptionsOfThePressThoughClosingClearsThem) {
  view.SetText("ABC abc");
  commands.OnEditReplace();
  dialogs.Press(FR_REPLACEALL, "abc", FR_DOWN | FR_MATCHCASE, "d");
  EXPECT_EQ(view.GetText(), "ABC d");
}

TEST_F(FindReplaceCommandsTest, ReplaceAllNotFoundTellsTheMainWindowAndLeavesTheText) {
  view.SetSelection(1, 2);
  commands.OnEditReplace();
  dialogs.Press(FR_REPLACEALL, "zz", FR_DOWN, "y");
  EXPECT_EQ(dialogs.open, OpenDialog::None);
  EXPECT_EQ(view.GetText(), "abc abc");
  EXPECT_EQ(view.GetSelection().start, 1u);
  EXPECT_FALSE(view.IsModified());
  ExpectOneMessage("\"zz\" が見つかりません。", MessageOwner::MainFrame);
}

TEST_F(FindReplaceCommandsTest, ReplacementsArrivingInReadOnlyModeChangeNothing) {
  commands.OnEditReplace();
  view.SetReadOnly(true);
  dialogs.Press(FR_REPLACEALL, "abc", FR_DOWN, "X");
  view.SetSelection(0, 3);
  dialogs.Press(FR_REPLACE, "abc", FR_DOWN, "X");
  EXPECT_EQ(view.GetText(), "abc abc");
  EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace propdesk
