#include "shell/app_entry.h"

#include <string>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/main_frame.h"

namespace propdesk {

void InstallQtJapanese(QCoreApplication& app, QTranslator& translator) {
  if (translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&translator);
}

void QueueCommandLineFile(MainFrame& frame, int argc, char** argv) {
  if (argc < 2) return;
  QMetaObject::invokeMethod(
      &frame, [&frame, path = std::string(argv[1])] { frame.OpenCommandLineFile(path); }, Qt::QueuedConnection);
}

}  // namespace propdesk
