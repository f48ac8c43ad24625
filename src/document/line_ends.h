#pragma once
// The line ends of an escaped file and of the text in the view.
#include <string>

namespace propdesk {

// Turns every line break into CR LF; lfStyle tells whether a bare LF came before the first CR LF.
// Returns false, leaving text untouched, only when no memory can be had.
bool ExpandLineEnds(std::string& text, bool& lfStyle);
// Turns every CR LF back into LF; lone CRs and LFs stay.
void CollapseLineEnds(std::string& text);

}  // namespace propdesk
