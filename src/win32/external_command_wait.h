#pragma once
// Keeps the window alive while an external conversion command runs: the windows go on painting,
// and after about half a second a small window offers to cancel the command. The person's other
// input waits until that window is up and is then taken by it alone.
#include <windows.h>

#include <chrono>

namespace propdesk {

class ExternalCommandWait {
 public:
  static constexpr std::chrono::milliseconds kDialogDelay{500};

  explicit ExternalCommandWait(HWND owner) : owner_(owner) {}
  ExternalCommandWait(const ExternalCommandWait&) = delete;
  ExternalCommandWait& operator=(const ExternalCommandWait&) = delete;
  ~ExternalCommandWait();

  // The converter's cancel check: asked every few tens of milliseconds while a command runs, with
  // the time since it started. True asks the converter to end the command.
  bool ShouldCancel(std::chrono::milliseconds elapsed);

  // True while a command runs: messages handled meanwhile must not start another document action.
  bool IsWaiting() const { return polling_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowDialog();
  // Handles the messages that are waiting; the person's input only once the dialog is up, and
  // only the dialog's.
  void Pump();

  HWND owner_;
  HWND dialog_ = nullptr;
  bool polling_ = false;
  bool cancelRequested_ = false;
  std::chrono::milliseconds lastElapsed_{0};
};

}  // namespace propdesk
