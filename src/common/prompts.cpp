#include "common/prompts.h"

#include "common/string_table.h"

namespace propdesk {

MessageResult ShowMessage(Prompts& prompts, int id, MessageStyle style, MessageOwner owner) {
  std::string text;
  if (!LoadText(id, text, 1024)) return MessageResult::Cancel;
  return prompts.ShowMessageText(text, style, owner);
}

}  // namespace propdesk
