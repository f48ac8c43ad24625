// The editor's entry: --help and --version without a window; otherwise settings first, then the
// window, then the file named on the command line.
#include <QApplication>
#include <QTranslator>

#include "platform/atomic_file.h"
#include "settings/settings.h"
#include "qt/app_entry.h"
#include "qt/main_frame.h"

int main(int argc, char** argv) {
  if (propdesk::AnswerInformationRequest(argc, argv)) return 0;
  propdesk::RemoveTemporaryFilesOnTermination();
  QApplication app(argc, argv);
  propdesk::NameApplication();
  QTranslator qtJapanese;
  propdesk::InstallQtJapanese(app, qtJapanese);
  propdesk::LoadSettings();

  propdesk::MainFrame frame;
  frame.show();
  propdesk::QueueCommandLineFile(frame, argc, argv);
  return QApplication::exec();
}
