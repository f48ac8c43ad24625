// Saves a picture of one X window as PNG, for the README's screenshot.
// Usage: propdesk-grab-window WINDOW_ID OUTPUT.png
#include <cstdio>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: propdesk-grab-window WINDOW_ID OUTPUT.png\n", stderr);
    return 2;
  }
  bool ok = false;
  const WId window = QByteArray(argv[1]).toULongLong(&ok, 0);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!ok || !screen || !screen->grabWindow(window).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "cannot grab window %s into %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
