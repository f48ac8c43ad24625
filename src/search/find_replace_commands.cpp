#include "search/find_replace_commands.h"

#include <string>

#include "common/string_table.h"
#include "convert/native_text.h"
#include "search/find_steps.h"
#include "search/replace_all.h"

namespace propdesk {
namespace {

constexpr std::size_t kMessageFormatCapacity = 256;

// Message `id` with its placeholder filled in; empty when the string table has no such text.
std::string FormatMessage(int id, std::string_view placeholder, std::string_view value) {
  std::string text;
  if (!LoadText(id, text, kMessageFormatCapacity)) return text;
  FillPlaceholder(text, placeholder, value);
  return text;
}

void ShowInformation(Prompts& prompts, const std::string& text, MessageOwner owner) {
  if (!text.empty()) prompts.ShowMessageText(text, MessageStyle::OkInformation, owner);
}

}  // namespace

FindReplaceCommands::FindReplaceCommands(TextView& view, Prompts& prompts, FindReplaceDialogHost& dialogs,
                                         SearchState& state)
    : view_(view), prompts_(prompts), dialogs_(dialogs), state_(state) {}

void FindReplaceCommands::OnEditFind() {
  if (!dialogs_.IsDialogOpen()) dialogs_.OpenFindDialog();
}

void FindReplaceCommands::OnEditReplace() {
  if (dialogs_.IsDialogOpen()) return;
  state_.SetSearchesDown(true);
  dialogs_.OpenReplaceDialog();
}

void FindReplaceCommands::OnEditFindUp() { FindWithoutDialog(false); }

void FindReplaceCommands::OnEditFindDown() { FindWithoutDialog(true); }

void FindReplaceCommands::FindWithoutDialog(bool down) {
  state_.SetSearchesDown(down);
  if (state_.FindWhat.empty()) {
    OnEditFind();
  } else if (!FindNext(view_, state_.FindWhat, state_.Flags)) {
    ShowNotFound(state_.FindWhat, MessageOwner::MainFrame);
  }
}

void FindReplaceCommands::OnFindReplaceMessage() {
  const std::uint32_t flags = state_.Flags;
  if (flags & FR_FINDNEXT) {
    if (FindNext(view_, state_.FindWhat, flags)) {
      dialogs_.CloseDialog();
    } else {
      ShowNotFoundOverDialog();
    }
  } else if (flags & (FR_REPLACE | FR_REPLACEALL)) {
    // The Replace dialog closes when editing is forbidden; a press that still arrives changes nothing.
    if (view_.IsReadOnly()) return;
    if (flags & FR_REPLACE) {
      if (!ReplaceNext(view_, state_.FindWhat, state_.ReplaceWith, flags)) ShowNotFoundOverDialog();
    } else {
      RunReplaceAll();
    }
  }
}

void FindReplaceCommands::ShowNotFoundOverDialog() {
  ShowNotFound(state_.FindWhat, MessageOwner::FindReplaceDialog);
  dialogs_.FocusDialog();
}

void FindReplaceCommands::RunReplaceAll() {
  // Closing the dialog may call back and change the flags: replace as the press asked.
  const SearchState request = state_;
  dialogs_.CloseDialog();
  const std::size_t count = ReplaceAll(view_, request);
  if (count > 0) {
    ShowInformation(prompts_, FormatMessage(IDS_REPLACED_COUNT, "%d", std::to_string(count)), MessageOwner::MainFrame);
  } else {
    ShowNotFound(request.FindWhat, MessageOwner::MainFrame);
  }
}

void FindReplaceCommands::ShowNotFound(std::string_view findWhat, MessageOwner owner) {
  ShowInformation(prompts_, FormatMessage(IDS_NOT_FOUND, "%s", NativeToUtf8(findWhat)), owner);
}

}  // namespace propdesk
