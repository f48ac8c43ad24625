#pragma once
// Start-up steps of the editor that the entry function runs around the main window.
class QCoreApplication;
class QTranslator;

namespace propdesk {

class MainFrame;

// Loads Qt's own Japanese texts (file dialog, message-box buttons, the text area's context menu)
// into translator and installs it; without them Qt's texts stay English.
void InstallQtJapanese(QCoreApplication& app, QTranslator& translator);

// Queues the first command-line argument, when there is one, to be opened once the event loop
// runs and the window is on screen, so that a failure message is centred over the shown window.
// Later arguments are ignored.
void QueueCommandLineFile(MainFrame& frame, int argc, char** argv);

}  // namespace propdesk
