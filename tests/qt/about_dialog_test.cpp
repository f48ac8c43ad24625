// The About box on the offscreen platform.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "common/version.h"
#include "qt/about_dialog.h"
#include "qt/dialogs/center_window.h"

using propdesk::AboutDialog;

namespace {

QStringList LabelTexts(const QWidget& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) texts.append(label->text());
  }
  return texts;
}

// The middle of a rectangle as windows are centred on it (QRect::center() counts the last pixel).
QPoint Middle(const QRect& rect) { return rect.topLeft() + QPoint(rect.width() / 2, rect.height() / 2); }

QPushButton* OkButton(const QWidget& dialog) { return dialog.findChild<QPushButton*>(); }

}  // namespace

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsNameVersionIconAndDivider() {
    AboutDialog dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(LabelTexts(dialog), (QStringList{QStringLiteral("Propdesk"), QStringLiteral("version ") + QString::fromLatin1(propdesk::kVersion)}));
    const auto labels = dialog.findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) { return !label->pixmap().isNull(); }));
    const auto frames = dialog.findChildren<QFrame*>();
    QVERIFY(std::any_of(frames.begin(), frames.end(), [](const QFrame* frame) {
      return frame->frameShape() == QFrame::HLine && frame->frameShadow() == QFrame::Sunken;
    }));
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);
    QCOMPARE(OkButton(dialog)->text(), QStringLiteral("OK"));
    QCOMPARE(QApplication::focusWidget(), OkButton(dialog));
    // Proportions of the layout: wider than tall, the button centred below the texts.
    QVERIFY(dialog.width() > dialog.height());
    QVERIFY(OkButton(dialog)->y() > dialog.height() / 2);
  }

  void endsWithItsResult_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << QStringLiteral("click") << 1;
    QTest::newRow("Enter") << QStringLiteral("enter") << 1;
    QTest::newRow("ESC") << QStringLiteral("escape") << 2;
    QTest::newRow("close box") << QStringLiteral("close") << 2;
  }
  void endsWithItsResult() {
    QFETCH(QString, how);
    QFETCH(int, result);
    AboutDialog dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (how == QStringLiteral("click")) QTest::mouseClick(OkButton(dialog), Qt::LeftButton);
    if (how == QStringLiteral("enter")) QTest::keyClick(&dialog, Qt::Key_Return);
    if (how == QStringLiteral("escape")) QTest::keyClick(&dialog, Qt::Key_Escape);
    if (how == QStringLiteral("close")) dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
  }

  void runsModallyCentredOverItsOwner_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << int{Qt::Key_Return} << 1;
    QTest::newRow("ESC") << int{Qt::Key_Escape} << 2;
  }
  void runsModallyCentredOverItsOwner() {
    QFETCH(int, key);
    QFETCH(int, result);
    QWidget owner;
    owner.setGeometry(60, 50, 500, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      shownAt = Middle(dialog->frameGeometry());
      QTest::keyClick(dialog, static_cast<Qt::Key>(key));
    });
    QCOMPARE(propdesk::RunAboutDialog(&owner), result);
    QCOMPARE(shownAt, Middle(owner.frameGeometry()));
  }

  void opensOverTheScreenWhenItsOwnerIsMinimised() {
    QWidget owner;
    owner.setGeometry(10, 20, 300, 200);
    owner.showMinimized();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    AboutDialog dialog(&owner);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(Middle(dialog.frameGeometry()), Middle(dialog.screen()->availableGeometry()));
  }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
