#pragma once
// Helpers for native code page 932 text outside the escape conversion: showing it in interface
// texts, which are UTF-8.
#include <string>
#include <string_view>

namespace propdesk {

// The UTF-8 form of native text, character by character as the code page converts it.
std::string NativeToUtf8(std::string_view native);

}  // namespace propdesk
