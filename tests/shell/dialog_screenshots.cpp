// Saves a picture of the About box and of the settings dialog into the folder named by the first
// argument, for the README. Run it under a real X server (scripts/dialog-screenshots.sh).
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "settings/settings.h"
#include "settings/settings_dialog_qt.h"
#include "shell/about_dialog.h"

namespace {

bool Save(propdesk::TemplateDialog& dialog, const QString& path) {
  dialog.show();
  QApplication::processEvents();
  return dialog.grab().save(path);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("accessories-text-editor")));

  propdesk::AboutDialog about(nullptr);
  propdesk::Settings& settings = propdesk::GetSettings();
  settings.UseNative2Ascii = true;
  settings.Native2AsciiPath = "/usr/lib/jvm/java-8-openjdk-amd64/bin/native2ascii -encoding MS932";
  propdesk::SettingsDialog settingsDialog(nullptr, [](QWidget*) { return std::nullopt; });
  const bool saved = Save(about, folder.filePath(QStringLiteral("about-dialog.png"))) &&
                     Save(settingsDialog, folder.filePath(QStringLiteral("settings-dialog.png")));
  return saved ? 0 : 1;
}
