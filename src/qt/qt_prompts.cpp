#include "qt/qt_prompts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QString>

#include <algorithm>

#include "common/string_table.h"
#include "qt/dialogs/file_chooser.h"

namespace propdesk {
namespace {

MessageResult ToMessageResult(int button) {
  switch (button) {
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Ok: return MessageResult::Ok;
    default: return MessageResult::Cancel;
  }
}

// Breaks each line of text wider than maxWidth after an ideographic full stop or comma, the places
// where Japanese text may be broken without splitting a word; a part wider than maxWidth stays whole.
QString BreakAtPunctuation(const QString& text, const QFontMetrics& metrics, int maxWidth) {
  QStringList lines;
  for (const QString& line : text.split(u'\n')) {
    QString current;
    qsizetype partStart = 0;
    while (partStart < line.size()) {
      qsizetype partEnd = partStart;
      while (partEnd < line.size() && line[partEnd] != u'。' && line[partEnd] != u'、') ++partEnd;
      partEnd = std::min(partEnd + 1, line.size());
      const QString part = line.mid(partStart, partEnd - partStart);
      if (!current.isEmpty() && metrics.horizontalAdvance(current + part) > maxWidth) {
        lines << current;
        current.clear();
      }
      current += part;
      partStart = partEnd;
    }
    lines << current;
  }
  return lines.join(u'\n');
}

// Gives the box's text a width that holds each of its lines whole, up to nearly the screen's
// width: a label that wraps words on its own would break Japanese text anywhere.
void FitTextWidth(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!label) return;
  const QScreen* screen = box.screen();
  const int maxWidth = screen ? screen->availableGeometry().width() * 9 / 10 : 720;
  const QFontMetrics metrics(label->font());
  box.setText(BreakAtPunctuation(box.text(), metrics, maxWidth));
  int widest = 0;
  for (const QString& line : box.text().split(u'\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
  label->setMinimumWidth(std::min(widest, maxWidth));
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(std::string_view text, MessageStyle style, QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(QString::fromUtf8(GetAppTitle()));
  // Paths and found texts may look like markup; they are shown as written.
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromUtf8(text));
  FitTextWidth(*box);
  switch (style) {
    case MessageStyle::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MessageStyle::OkInformation:
      box->setIcon(QMessageBox::Information);
      box->setStandardButtons(QMessageBox::Ok);
      break;
    case MessageStyle::YesNoCancel:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box->setDefaultButton(QMessageBox::Yes);
      box->setEscapeButton(QMessageBox::Cancel);
      break;
    case MessageStyle::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
  }
  return box;
}

MessageResult QtPrompts::ShowMessageText(std::string_view text, MessageStyle style, MessageOwner owner) {
  QWidget* ownerWidget = mainFrame_;
  if (owner == MessageOwner::FindReplaceDialog && findReplaceDialog_ && findReplaceDialog_->isVisible())
    ownerWidget = findReplaceDialog_;
  return ToMessageResult(MakeMessageBox(text, style, ownerWidget)->exec());
}

std::optional<std::string> QtPrompts::ChooseFileToOpen(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Open, filter, defaultExtension, mainFrame_);
}

std::optional<std::string> QtPrompts::ChooseFileToSave(std::string_view filter, std::string_view defaultExtension) {
  return ChooseFile(FileChooserKind::Save, filter, defaultExtension, mainFrame_);
}

}  // namespace propdesk
