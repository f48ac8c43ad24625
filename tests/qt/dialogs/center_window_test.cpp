// Placing dialogs: the geometry on its own, and windows on the offscreen platform.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "qt/dialogs/center_window.h"

using propdesk::CenteredPosition;
using propdesk::CenterWindow;

namespace {

// The middle of a rectangle as windows are centred on it (QRect::center() counts the last pixel).
QPoint Middle(const QRect& rect) { return rect.topLeft() + QPoint(rect.width() / 2, rect.height() / 2); }

}  // namespace

class CenterWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void centredPosition_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("centre");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("expected");
    // A 1280 x 1024 screen with a 40-pixel task bar at the top.
    const QRect area(0, 40, 1280, 984);
    const QSize box(240, 150);
    QTest::newRow("owner in the middle") << box << QRect(340, 212, 600, 560) << area << QPoint(520, 417);
    QTest::newRow("owner partly off the right edge") << box << QRect(1000, 200, 600, 400) << area << QPoint(1040, 325);
    QTest::newRow("owner partly off the bottom edge") << box << QRect(300, 900, 600, 400) << area << QPoint(480, 874);
    QTest::newRow("owner partly off the top left") << box << QRect(-500, -300, 600, 400) << area << QPoint(0, 40);
    QTest::newRow("no owner: the area itself") << box << area << area << QPoint(520, 457);
    QTest::newRow("owner narrower than the box") << box << QRect(600, 300, 100, 80) << area << QPoint(530, 265);
    QTest::newRow("box wider and taller than the area") << QSize(1400, 1100) << area << area << QPoint(0, 40);
    // Only the first test that applies moves the box: here the right edge, so it leaves on the left.
    QTest::newRow("box wider than the area, owner far right")
        << QSize(1400, 150) << QRect(1200, 300, 600, 400) << area << QPoint(-120, 425);
    // A screen left of the primary one: halves round toward zero, not down.
    QTest::newRow("negative coordinates") << QSize(101, 51) << QRect(-1001, 101, 201, 101)
                                          << QRect(-1280, 0, 1280, 1024) << QPoint(-950, 126);
  }
  void centredPosition() {
    QFETCH(QSize, size);
    QFETCH(QRect, centre);
    QFETCH(QRect, area);
    QFETCH(QPoint, expected);
    QCOMPARE(CenteredPosition(size, centre, area), expected);
  }

  void centresOverAVisibleOwner() {
    QWidget owner;
    owner.setGeometry(QRect(QPoint(100, 80), QSize(400, 300)));
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QWidget dialog(&owner, Qt::Dialog);
    dialog.resize(150, 100);
    CenterWindow(&dialog);
    QCOMPARE(Middle(dialog.frameGeometry()), Middle(owner.frameGeometry()));
    QCOMPARE(dialog.size(), QSize(150, 100));
  }

  void hiddenOrMinimisedOwnerIsPassedOver_data() {
    QTest::addColumn<bool>("minimised");
    QTest::newRow("hidden") << false;
    QTest::newRow("minimised") << true;
  }
  void hiddenOrMinimisedOwnerIsPassedOver() {
    QFETCH(bool, minimised);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.width() > 300 && area.height() > 200);
    QWidget owner;
    owner.setGeometry(QRect(area.topLeft(), QSize(100, 100)));
    if (minimised) owner.showMinimized();
    QWidget dialog(&owner, Qt::Dialog);
    dialog.resize(150, 100);
    CenterWindow(&dialog);
    QCOMPARE(dialog.pos(), CenteredPosition(QSize(150, 100), area, area));
  }
};

QTEST_MAIN(CenterWindowTest)
#include "center_window_test.moc"
