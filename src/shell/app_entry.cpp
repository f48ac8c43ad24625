#include "shell/app_entry.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "common/version.h"
#include "shell/main_frame.h"

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

void QueueCommandLineFile(MainFrame& frame, int argc, char** argv) {
  if (argc < 2) return;
  QMetaObject::invokeMethod(
      &frame, [&frame, path = std::string(argv[1])] { frame.OpenCommandLineFile(path); }, Qt::QueuedConnection);
}

}  // namespace propdesk
