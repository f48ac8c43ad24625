#pragma once
// Stands for the person: records every message and chooser shown, answers questions and choosers
// from queues that a test fills beforehand. A question or chooser without a queued answer fails
// the running test, so unexpected prompts do not pass unnoticed.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/prompts.h"

namespace propdesk::test {

class ScriptedPrompts final : public Prompts {
 public:
  struct Message {
    std::string text;
    MessageStyle style;
    MessageOwner owner;
  };
  struct Chooser {
    bool forSaving;
    std::string filter;
    std::string defaultExtension;
  };

  MessageResult ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) override;
  std::optional<std::string> ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) override;

  // The texts of the messages shown, in order.
  std::vector<std::string> MessageTexts() const;

  std::vector<Message> messages;
  std::vector<Chooser> choosers;
  // Answers to messages with more than an OK button, in order.
  std::deque<MessageResult> answers;
  // Paths the choosers return, in order; an empty optional is a cancelled chooser.
  std::deque<std::optional<std::string>> chosenPaths;

 private:
  std::optional<std::string> Choose(bool forSaving, std::string_view filter, std::string_view defaultExtension);
};

}  // namespace propdesk::test
