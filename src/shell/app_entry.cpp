#include "shell/app_entry.h"

#include <string>
#include <utility>

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWindow>

#include "shell/main_frame.h"

namespace propdesk {

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
