#include "qt/about_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "common/string_table.h"
#include "common/version.h"
#include "qt/app_icon.h"

namespace propdesk {
namespace {

constexpr int kIconPixels = 32;

}  // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : TemplateDialog(owner, QStringLiteral("バージョン情報"), 158, 87) {
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(kIconPixels, kIconPixels));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Place(icon, 11, 17, 20, 20);

  auto* title = new QLabel(QString::fromStdString(GetAppTitle()), this);
  title->setTextFormat(Qt::PlainText);
  Place(title, 40, 10, 100, 8);

  auto* version = new QLabel(QStringLiteral("version ") + QString::fromLatin1(kVersion), this);
  Place(version, 40, 22, 100, 8);

  auto* divider = new QFrame(this);
  divider->setFrameShape(QFrame::HLine);
  divider->setFrameShadow(QFrame::Sunken);
  Place(divider, 40, 36, 110, 1);
  divider->setFixedHeight(std::max(divider->height(), 2));  // room for both lines of the sunken edge

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  Place(ok, 59, 66, 40, 14);
  connect(ok, &QPushButton::clicked, this, [this] { done(kOk); });
  ok->setFocus();
}

int RunAboutDialog(QWidget* owner) {
  AboutDialog dialog(owner);
  return dialog.exec();
}

}  // namespace propdesk
