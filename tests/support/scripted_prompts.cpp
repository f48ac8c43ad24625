#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace propdesk::test {

MessageResult ScriptedPrompts::ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) {
  messages.push_back({std::string(text), style, owner});
  if (style != MessageStyle::YesNoCancel && style != MessageStyle::YesNo) return MessageResult::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return MessageResult::Cancel;
  }
  const MessageResult answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompts::ChooseFileToOpen(std::string_view filter,
                                                             std::string_view defaultExtension) {
  return Choose(false, filter, defaultExtension);
}

std::optional<std::string> ScriptedPrompts::ChooseFileToSave(std::string_view filter,
                                                             std::string_view defaultExtension) {
  return Choose(true, filter, defaultExtension);
}

std::vector<std::string> ScriptedPrompts::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Message& message : messages) texts.push_back(message.text);
  return texts;
}

std::optional<std::string> ScriptedPrompts::Choose(bool forSaving, std::string_view filter,
                                                   std::string_view defaultExtension) {
  choosers.push_back({forSaving, std::string(filter), std::string(defaultExtension)});
  if (chosenPaths.empty()) {
    ADD_FAILURE() << "unexpected " << (forSaving ? "save" : "open") << " chooser";
    return std::nullopt;
  }
  std::optional<std::string> path = std::move(chosenPaths.front());
  chosenPaths.pop_front();
  return path;
}

}  // namespace propdesk::test
