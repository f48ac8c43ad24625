#pragma once
// Keeps the window alive while an external conversion command runs: the window goes on painting,
// and after about half a second a small modal dialog offers to cancel the command.
#include <chrono>

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace propdesk {

class ExternalCommandWait final : public QObject {
 public:
  static constexpr std::chrono::milliseconds kDialogDelay{500};

  explicit ExternalCommandWait(QWidget* owner);

  // The converter's cancel check: asked every few tens of milliseconds while a command runs, with
  // the time since it started. True asks the converter to end the command.
  bool ShouldCancel(std::chrono::milliseconds elapsed);

  // True while a command runs: events delivered meanwhile must not start another document action.
  bool IsWaiting() const { return polling_; }

 private:
  void ShowDialog();
  void HideDialogOnceCommandEnded();

  QPointer<QWidget> owner_;
  QPointer<QDialog> dialog_;
  // Fires only from an event loop other than the check's own: the command has ended then.
  QTimer endWatch_;
  bool polling_ = false;
  bool cancelRequested_ = false;
  std::chrono::milliseconds lastElapsed_{0};
};

}  // namespace propdesk
