#include "qt/app_entry.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include <QGuiApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWindow>

#include "common/version.h"
#include "qt/main_frame.h"

namespace propdesk {
namespace {

constexpr char kUsage[] =
    "Usage: propdesk [FILE]\n"
    "Opens FILE, a Java .properties file with \\uXXXX escapes, as Japanese text in an editor window.\n"
    "  --help     show this text\n"
    "  --version  show the version\n";

}  // namespace

bool AnswerInformationRequest(int argc, char** argv) {
  if (argc < 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return true;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("propdesk %s\n", kVersion);
    return true;
  }
  return false;
}

void NameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("propdesk"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

void InstallQtJapanese(QCoreApplication& app, QTranslator& translator) {
  if (translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&translator);
}

namespace {

// Opens a file once the window is on screen, so that a failure message is centred over the window
// where the window system has put it rather than where it stood before.
class OpenWhenExposed : public QObject {
 public:
  OpenWhenExposed(MainFrame& frame, std::string path) : QObject(&frame), frame_(frame), path_(std::move(path)) {
    frame.winId();  // makes the window that the window system exposes
    if (frame.windowHandle()->isExposed())
      OpenSoon();
    else
      frame.windowHandle()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && frame_.windowHandle()->isExposed()) {
      watched->removeEventFilter(this);
      OpenSoon();
    }
    return false;
  }

 private:
  // Queued, so that the window finishes its exposure before the open runs a message box.
  void OpenSoon() {
    QMetaObject::invokeMethod(
        this,
        [this] {
          frame_.OpenCommandLineFile(path_);
          deleteLater();
        },
        Qt::QueuedConnection);
  }

  MainFrame& frame_;
  std::string path_;
};

}  // namespace

void QueueCommandLineFile(MainFrame& frame, int argc, char** argv) {
  if (argc < 2) return;
  new OpenWhenExposed(frame, argv[1]);
}

}  // namespace propdesk
