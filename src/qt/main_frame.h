#pragma once
// The program's one window: the menu, the text view and the status bar. It routes every command,
// drop, close and log-off to the document and keeps the menu's enabling rules current.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "document/frame_window.h"
#include "search/search_state.h"
#include "qt/main_menu.h"

class QAction;
class QLabel;
class QMimeData;

namespace propdesk {

class Document;
class DocumentInfoPane;
class EditViewWidget;
class ExternalCommandWait;
class FindReplaceCommands;
class QtFindReplaceDialogHost;
class Prompts;
class QtPrompts;

class MainFrame final : public QMainWindow, public FrameWindow {
 public:
  // Asks the person through message boxes and file dialogs.
  MainFrame();
  // Asks through prompts instead, which must outlive the window.
  explicit MainFrame(Prompts& prompts);
  ~MainFrame() override;

  // Opens the file named on the command line, without asking about the empty start document.
  void OpenCommandLineFile(const std::string& path);

  // The save-changes question of a log-off or shutdown: true when the session may end.
  bool MayEndSession();

  QtFindReplaceDialogHost& FindReplaceDialogs() { return *findReplaceDialogs_; }
  EditViewWidget& View() { return *view_; }
  // The line:column text of the status bar; empty until the first refresh.
  QString PositionText() const;
  // The status bar's pane beside it: the character at the caret and the file format.
  QString DocumentInfoText() const;

  void SetTitle(std::string_view title) override;
  void EditForbiddenChanged(bool editForbidden) override;
  void FileFormatChanged(const FileFormat& format) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Takes file drops from the text area, which would otherwise insert their names as text.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MainFrame(std::unique_ptr<QtPrompts> ownPrompts, Prompts* prompts);
  void RouteCommands();
  void ConnectFindReplaceDialogs();
  void WatchCommandStates();
  void UpdateCommandStates();
  void RefreshCaretPos();
  bool OnEscape();
  void PostClose();
  bool HandleFileDrop(QEvent* event);
  void OpenDroppedFiles(const std::vector<std::string>& paths);

  std::unique_ptr<QtPrompts> ownPrompts_;
  Prompts& prompts_;
  EditViewWidget* view_;
  QLabel* positionLabel_;
  DocumentInfoPane* infoPane_;
  std::unique_ptr<ExternalCommandWait> wait_;
  std::unique_ptr<Document> document_;
  SearchState searchState_;
  std::unique_ptr<QtFindReplaceDialogHost> findReplaceDialogs_;
  std::unique_ptr<FindReplaceCommands> findReplace_;
  std::map<CommandId, QAction*> actions_;
  bool clipboardHasText_ = false;
};

}  // namespace propdesk
