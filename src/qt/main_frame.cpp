#include "qt/main_frame.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QTextCursor>
#include <QUrl>

#include "document/document.h"
#include "document/edit_view_rules.h"
#include "search/find_replace_commands.h"
#include "qt/qt_find_replace_dialog_host.h"
#include "qt/dialogs/settings_dialog.h"
#include "settings/settings.h"
#include "qt/about_dialog.h"
#include "qt/app_icon.h"
#include "qt/document_info_pane.h"
#include "qt/edit_view_widget.h"
#include "qt/external_command_wait.h"
#include "qt/qt_prompts.h"

namespace propdesk {
namespace {

// The paths of links that all name local files (or folders); empty when one does not.
std::vector<std::string> DroppedLocalPaths(const QMimeData& mime) {
  std::vector<std::string> paths;
  for (const QUrl& url : mime.urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return paths;
}

bool ClipboardHasText() {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  return mime && mime->hasText();
}

}  // namespace

MainFrame::MainFrame() : MainFrame(std::make_unique<QtPrompts>(this), nullptr) {}

MainFrame::MainFrame(Prompts& prompts) : MainFrame(nullptr, &prompts) {}

MainFrame::MainFrame(std::unique_ptr<QtPrompts> ownPrompts, Prompts* prompts)
    : ownPrompts_(std::move(ownPrompts)),
      prompts_(prompts ? *prompts : *ownPrompts_),
      view_(new EditViewWidget(this)),
      positionLabel_(new QLabel(this)),
      infoPane_(new DocumentInfoPane(this)),
      wait_(std::make_unique<ExternalCommandWait>(this)) {
  document_ = std::make_unique<Document>(
      view_->textView(), prompts_, *this, GetSettings(),
      [wait = wait_.get()](std::chrono::milliseconds elapsed) { return wait->ShouldCancel(elapsed); });
  findReplaceDialogs_ = std::make_unique<QtFindReplaceDialogHost>(*this, searchState_);
  findReplace_ = std::make_unique<FindReplaceCommands>(view_->textView(), prompts_, *findReplaceDialogs_, searchState_);
  actions_ = BuildMainMenu(*menuBar());
  setCentralWidget(view_);
  statusBar()->addWidget(positionLabel_, 1);
  statusBar()->addPermanentWidget(infoPane_);
  view_->viewport()->installEventFilter(this);
  setAcceptDrops(true);

  setWindowIcon(AppIcon());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->availableSize() * 3 / 4);

  RouteCommands();
  ConnectFindReplaceDialogs();
  WatchCommandStates();
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
    if (!manager.allowsInteraction()) return;
    const bool mayEnd = MayEndSession();
    manager.release();
    if (!mayEnd) manager.cancel();
  });

  document_->SetEditForbidden(false);
  document_->UpdateTitle();
  view_->setFocus();
}

MainFrame::~MainFrame() = default;

void MainFrame::RouteCommands() {
  const auto route = [this](CommandId id, auto action) { connect(actions_.at(id), &QAction::triggered, this, action); };
  route(ID_FILE_NEW, [this] { document_->OnFileNew(); });
  route(ID_FILE_OPEN, [this] { document_->OnFileOpen(); });
  route(ID_FILE_SAVE, [this] { document_->OnFileSave(); });
  route(ID_FILE_SAVE_AS, [this] { document_->ChooseAndSave(false); });
  route(ID_FILE_IMPORT, [this] { document_->OnFileImport(); });
  route(ID_FILE_EXPORT, [this] { document_->ChooseAndSave(true); });
  route(ID_APP_EXIT, [this] { PostClose(); });
  route(ID_EDIT_UNDO, [this] { view_->textView().Undo(); });
  route(ID_EDIT_CUT, [this] { view_->cut(); });
  route(ID_EDIT_COPY, [this] { view_->copy(); });
  route(ID_EDIT_PASTE, [this] { view_->paste(); });
  route(ID_EDIT_CLEAR, [this] { view_->deleteSelection(); });
  route(ID_EDIT_SELECT_ALL, [this] {
    view_->selectAll();
    view_->ensureCursorVisible();
  });
  route(ID_EDIT_FIND, [this] { findReplace_->OnEditFind(); });
  route(ID_EDIT_FIND_UP, [this] { findReplace_->OnEditFindUp(); });
  route(ID_EDIT_FIND_DOWN, [this] { findReplace_->OnEditFindDown(); });
  route(ID_EDIT_REPLACE, [this] { findReplace_->OnEditReplace(); });
  route(ID_EDIT_READONLY, [this] { document_->SetEditForbidden(!document_->IsEditForbidden()); });
  // The dialogs are owned by the active window, which is this one whenever its menu runs.
  route(ID_TOOL_SETTINGS, [this] { RunSettingsDialog(this); });
  route(ID_APP_ABOUT, [this] { RunAboutDialog(this); });
}

void MainFrame::ConnectFindReplaceDialogs() {
  connect(findReplaceDialogs_.get(), &QtFindReplaceDialogHost::dialogAction, this,
          [this] { findReplace_->OnFindReplaceMessage(); });
  connect(findReplaceDialogs_.get(), &QtFindReplaceDialogHost::dialogChanged, this, [this](QWidget* openDialog) {
    if (ownPrompts_) ownPrompts_->SetFindReplaceDialog(openDialog);
    UpdateCommandStates();
  });
}

void MainFrame::WatchCommandStates() {
  for (QAction* menuAction : menuBar()->actions())
    connect(menuAction->menu(), &QMenu::aboutToShow, this, &MainFrame::UpdateCommandStates);
  connect(view_, &QPlainTextEdit::copyAvailable, this, &MainFrame::UpdateCommandStates);
  connect(view_, &QPlainTextEdit::undoAvailable, this, &MainFrame::UpdateCommandStates);
  connect(view_, &QPlainTextEdit::modificationChanged, this, [this] { document_->UpdateTitle(); });
  connect(view_, &EditViewWidget::caretPositionRefreshRequested, this, &MainFrame::RefreshCaretPos);
  // The character pane follows the caret and the text at once; the position pane waits for a key
  // release or mouse movement.
  const auto showCaretCharacter = [this] { infoPane_->ShowCaretCharacter(view_->CaretCharacterText()); };
  connect(view_, &QPlainTextEdit::cursorPositionChanged, this, showCaretCharacter);
  connect(view_, &QPlainTextEdit::textChanged, this, showCaretCharacter);
  view_->setEscapeHandler([this] { return OnEscape(); });
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
    clipboardHasText_ = ClipboardHasText();
    UpdateCommandStates();
  });
  clipboardHasText_ = ClipboardHasText();
}

void MainFrame::UpdateCommandStates() {
  const bool editable = !document_->IsEditForbidden();
  const bool selection = view_->textCursor().hasSelection();
  actions_.at(ID_FILE_SAVE)->setEnabled(editable);
  actions_.at(ID_EDIT_CLEAR)->setEnabled(selection && editable);
  actions_.at(ID_EDIT_COPY)->setEnabled(selection);
  actions_.at(ID_EDIT_CUT)->setEnabled(selection && editable);
  actions_.at(ID_EDIT_PASTE)->setEnabled(clipboardHasText_ && editable);
  actions_.at(ID_EDIT_UNDO)->setEnabled(view_->textView().CanUndo() && editable);
  const bool dialogOpen = findReplaceDialogs_->IsDialogOpen();
  actions_.at(ID_EDIT_FIND)->setEnabled(!dialogOpen);
  actions_.at(ID_EDIT_REPLACE)->setEnabled(editable && !dialogOpen);
}

void MainFrame::RefreshCaretPos() {
  positionLabel_->setText(QString::fromStdString(CaretPositionText(view_->textView())));
}

QString MainFrame::PositionText() const { return positionLabel_->text(); }

QString MainFrame::DocumentInfoText() const { return infoPane_->text(); }

bool MainFrame::OnEscape() {
  if (!EscapeClosesWindow(GetSettings(), document_->IsEditForbidden())) return false;
  PostClose();
  return true;
}

void MainFrame::PostClose() {
  QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

void MainFrame::OpenCommandLineFile(const std::string& path) { document_->OpenDocument(path, false); }

bool MainFrame::MayEndSession() { return !wait_->IsWaiting() && document_->QuerySaveChanges(); }

void MainFrame::SetTitle(std::string_view title) {
  // "[*]" is Qt's placeholder for the modified mark; doubled, it shows as written.
  setWindowTitle(QString::fromUtf8(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void MainFrame::EditForbiddenChanged(bool editForbidden) {
  actions_.at(ID_EDIT_READONLY)->setChecked(editForbidden);
  if (editForbidden) findReplaceDialogs_->CloseDialog();
  UpdateCommandStates();
}

void MainFrame::FileFormatChanged(const FileFormat& format) { infoPane_->ShowFileFormat(format); }

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!wait_->IsWaiting() && document_->QuerySaveChanges())
    event->accept();
  else
    event->ignore();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) { HandleFileDrop(event); }
void MainFrame::dragMoveEvent(QDragMoveEvent* event) { HandleFileDrop(event); }
void MainFrame::dropEvent(QDropEvent* event) { HandleFileDrop(event); }

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (HandleFileDrop(event)) return true;
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

// A drag that carries links belongs to the window, never to the text: one of local files is
// accepted and, on the drop, opened once the drop itself has finished, so that the program that
// started the drag does not wait for the save question. Other links are refused.
bool MainFrame::HandleFileDrop(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  if (!drop->mimeData() || !drop->mimeData()->hasUrls()) return false;
  const std::vector<std::string> paths = DroppedLocalPaths(*drop->mimeData());
  if (paths.empty()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (event->type() == QEvent::Drop)
    QMetaObject::invokeMethod(this, [this, paths] { OpenDroppedFiles(paths); }, Qt::QueuedConnection);
  return true;
}

void MainFrame::OpenDroppedFiles(const std::vector<std::string>& paths) {
  if (!wait_->IsWaiting()) document_->OnDropFiles(paths);
}

}  // namespace propdesk
