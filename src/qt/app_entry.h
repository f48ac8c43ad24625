#pragma once
// Start-up steps of the editor that the entry function runs around the main window.
class QCoreApplication;
class QTranslator;

namespace propdesk {

class MainFrame;

// Answers a first argument of --help or --version on standard output. Runs before the
// application object exists, so that neither needs a display. Returns true when it answered and
// the program should end with exit code 0; any other first argument is the file to open.
bool AnswerInformationRequest(int argc, char** argv);

// Gives the application the name, version and desktop entry by which the desktop links its
// window to the installed menu entry and icon.
void NameApplication();

// Loads Qt's own Japanese texts (file dialog, message-box buttons, the text area's context menu)
// into translator and installs it; without them Qt's texts stay English.
void InstallQtJapanese(QCoreApplication& app, QTranslator& translator);

// Queues the first command-line argument, when there is one, to be opened once the event loop
// runs and the window is on screen, so that a failure message is centred over the shown window.
// Later arguments are ignored.
void QueueCommandLineFile(MainFrame& frame, int argc, char** argv);

}  // namespace propdesk
