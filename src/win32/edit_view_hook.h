#pragma once
// Sits in front of the edit view's window procedure: keeps the status bar's position current on
// key release, typed characters and mouse movement, lets ESC close the window when the settings
// allow it, and makes typed and pasted text keep every character: one without an exact code
// page 932 form enters as its \uxxxx escape text, which Backspace and Delete then remove whole.
// Copied text carries lone CRs and LFs as themselves.
#include <windows.h>

namespace propdesk {

class EditViewHook {
 public:
  // The window's answers the hook needs.
  class Owner {
   public:
    virtual ~Owner() = default;
    virtual HWND Window() const = 0;
    // True when ESC typed into the view closes the window instead of reaching the view.
    virtual bool EscapeClosesWindow() const = 0;
    // The caret may have moved or the text changed: the character at the caret is shown again.
    virtual void CaretMayHaveMoved() = 0;
  };

  // Detaches itself when the view is destroyed; owner must outlive the view.
  static bool Attach(HWND editView, Owner& owner);
};

}  // namespace propdesk
