#include "qt/external_command_wait.h"

#include <string>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/string_table.h"

namespace propdesk {
namespace {

constexpr int kEndWatchIntervalMs = 50;

QDialog* MakeWaitDialog(QWidget* owner) {
  auto* dialog = new QDialog(owner);
  dialog->setWindowTitle(QString::fromUtf8(GetAppTitle()));
  dialog->setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(dialog);
  std::string text;
  LoadText(IDS_WAITING_FOR_COMMAND, text);
  layout->addWidget(new QLabel(QString::fromUtf8(text), dialog));
  auto* busy = new QProgressBar(dialog);
  busy->setRange(0, 0);
  layout->addWidget(busy);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return dialog;
}

}  // namespace

ExternalCommandWait::ExternalCommandWait(QWidget* owner) : owner_(owner) {
  endWatch_.setInterval(kEndWatchIntervalMs);
  connect(&endWatch_, &QTimer::timeout, this, &ExternalCommandWait::HideDialogOnceCommandEnded);
}

bool ExternalCommandWait::ShouldCancel(std::chrono::milliseconds elapsed) {
  // An event handled below must not start a second command; should one do so, it just waits.
  if (polling_) return false;
  if (elapsed < lastElapsed_) cancelRequested_ = false;  // a new command has started
  lastElapsed_ = elapsed;
  const bool dialogShown = dialog_ && dialog_->isVisible();
  if (!dialogShown && !cancelRequested_ && elapsed >= kDialogDelay) ShowDialog();

  polling_ = true;
  // Until the modal dialog is up, the person's input waits, so that nothing starts meanwhile;
  // painting and the window system's other events go on.
  QCoreApplication::processEvents(dialog_ && dialog_->isVisible() ? QEventLoop::AllEvents
                                                                 : QEventLoop::ExcludeUserInputEvents);
  polling_ = false;
  return cancelRequested_;
}

void ExternalCommandWait::ShowDialog() {
  if (!dialog_) {
    dialog_ = MakeWaitDialog(owner_);
    connect(dialog_, &QDialog::rejected, this, [this] { cancelRequested_ = true; });
  }
  dialog_->show();
  endWatch_.start();
}

void ExternalCommandWait::HideDialogOnceCommandEnded() {
  if (polling_) return;
  endWatch_.stop();
  if (dialog_) dialog_->hide();
}

}  // namespace propdesk
