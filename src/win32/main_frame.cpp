#include "win32/main_frame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/command_ids.h"
#include "common/string_table.h"
#include "document/caret_character.h"
#include "document/document.h"
#include "document/edit_view_rules.h"
#include "platform/windows/file_access.h"
#include "search/find_replace_commands.h"
#include "settings/settings.h"
#include "win32/about_dialog.h"
#include "win32/edit_control.h"
#include "win32/external_command_wait.h"
#include "win32/frame_messages.h"
#include "win32/main_menu.h"
#include "win32/resources/resource_ids.h"
#include "win32/settings_dialog.h"
#include "win32/status_bar.h"
#include "win32/win32_find_replace_dialog_host.h"
#include "win32/win32_prompts.h"
#include "win32/win32_text_view.h"

namespace propdesk {
namespace {

constexpr wchar_t kClassName[] = L"PropdeskMainFrame";
constexpr int kEditMenuIndex = 1;

bool RegisterFrameClass(HINSTANCE instance, WNDPROC windowProc) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateEditView(HWND parent) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                      ES_NOHIDESEL | ES_WANTRETURN;
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr, style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDITVIEW)), GetModuleHandleW(nullptr),
                         nullptr);
}

bool HasSelection(HWND edit) {
  std::size_t start = 0;
  std::size_t end = 0;
  GetEditSelection(edit, start, end);
  return start != end;
}

void Enable(HMENU menu, CommandId id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

std::unique_ptr<MainFrame> MainFrame::Create(Prompts* prompts) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  HMENU menu = LoadMainMenu();
  if (!menu || !RegisterFrameClass(instance, WindowProc)) return nullptr;
  std::unique_ptr<MainFrame> frame(new MainFrame(prompts));
  // WindowProc takes the frame from the creation data; WM_CREATE builds the children.
  HWND window = CreateWindowExW(0, kClassName, nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance,
                                frame.get());
  if (!window) return nullptr;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  frame->document_->UpdateTitle();
  if (icon) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  return frame;
}

MainFrame::MainFrame(Prompts* prompts) : givenPrompts_(prompts) {}

MainFrame::~MainFrame() {
  if (window_) DestroyWindow(window_);
}

HWND MainFrame::StatusBarWindow() const { return statusBar_->Window(); }

HWND MainFrame::FindReplaceDialog() const { return findReplaceDialogs_ ? findReplaceDialogs_->Dialog() : nullptr; }

LRESULT CALLBACK MainFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* frame = static_cast<MainFrame*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    frame->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame));
  }
  auto* frame = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!frame) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    frame->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return frame->OnMessage(message, wParam, lParam);
}

bool MainFrame::OnCreate() {
  statusBar_ = std::make_unique<StatusBar>(window_);
  if (!statusBar_->Window()) return false;
  editView_ = CreateEditView(window_);
  if (!editView_) return false;
  SendMessageW(editView_, EM_LIMITTEXT, 0x7FFFFFFE, 0);
  if (!EditViewHook::Attach(editView_, *this)) return false;
  LayOut();

  textView_ = std::make_unique<Win32TextView>(editView_);
  if (!givenPrompts_) {
    ownPrompts_ = std::make_unique<Win32Prompts>([this] { return window_; }, [this] { return FindReplaceDialog(); });
  }
  Prompts& prompts = givenPrompts_ ? *givenPrompts_ : *ownPrompts_;
  wait_ = std::make_unique<ExternalCommandWait>(window_);
  findReplaceDialogs_ = std::make_unique<Win32FindReplaceDialogHost>(window_, searchState_);
  findReplace_ = std::make_unique<FindReplaceCommands>(*textView_, prompts, *findReplaceDialogs_, searchState_);
  document_ = std::make_unique<Document>(
      *textView_, prompts, *this, GetSettings(),
      [wait = wait_.get()](std::chrono::milliseconds elapsed) { return wait->ShouldCancel(elapsed); });
  document_->SetEditForbidden(false);
  return true;
}

LRESULT MainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return OnCreate() ? 0 : -1;
  // The children notify their parent while WM_CREATE makes them, before the document exists.
  if (!document_) return DefWindowProcW(window_, message, wParam, lParam);
  // A message that could not be registered is 0, which WM_NULL is too.
  if (message != 0 && message == Win32FindReplaceDialogHost::FindMessage()) {
    OnFindReplaceMessage();
    return 0;
  }
  switch (message) {
    case WM_SETFOCUS:
      if (editView_ && IsWindowEnabled(editView_)) SetFocus(editView_);
      return 0;
    case WM_SIZE:
      SendMessageW(statusBar_->Window(), WM_SIZE, wParam, lParam);
      statusBar_->Layout();
      LayOut();
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      return 0;
    case WM_INITMENU:
      OnInitMenu(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_CLOSE:
      if (!wait_->IsWaiting() && document_->QuerySaveChanges()) DestroyWindow(window_);
      return 0;
    case WM_QUERYENDSESSION:
      return !wait_->IsWaiting() && document_->QuerySaveChanges();
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_OPENFILE:
      if (!wait_->IsWaiting()) document_->OpenDocument(reinterpret_cast<const char*>(lParam), false);
      return 0;
    case WM_UPDATECARETPOS:
    case WM_MOUSEMOVE:
    case WM_CHAR:
    case WM_KEYUP:
      RefreshCaretPos();
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_EDITVIEW) {
        if (HIWORD(wParam) != EN_CHANGE) break;
        document_->MarkModified();
        CaretMayHaveMoved();
        return 0;
      }
      if (OnCommand(LOWORD(wParam))) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainFrame::OnCommand(int id) {
  // A command that arrives while a conversion runs waits for nothing: it is dropped.
  const bool busy = wait_->IsWaiting();
  switch (id) {
    case ID_FILE_NEW: if (!busy) document_->OnFileNew(); return true;
    case ID_FILE_OPEN: if (!busy) document_->OnFileOpen(); return true;
    case ID_FILE_SAVE: if (!busy) document_->OnFileSave(); return true;
    case ID_FILE_SAVE_AS: if (!busy) document_->ChooseAndSave(false); return true;
    case ID_FILE_IMPORT: if (!busy) document_->OnFileImport(); return true;
    case ID_FILE_EXPORT: if (!busy) document_->ChooseAndSave(true); return true;
    case ID_APP_EXIT: PostMessageW(window_, WM_CLOSE, 0, 0); return true;
    case ID_EDIT_UNDO: SendMessageW(editView_, EM_UNDO, 0, 0); return true;
    case ID_EDIT_CUT: SendMessageW(editView_, WM_CUT, 0, 0); return true;
    case ID_EDIT_COPY: SendMessageW(editView_, WM_COPY, 0, 0); return true;
    case ID_EDIT_PASTE: SendMessageW(editView_, WM_PASTE, 0, 0); return true;
    case ID_EDIT_CLEAR: SendMessageW(editView_, WM_CLEAR, 0, 0); return true;
    case ID_EDIT_SELECT_ALL:
      SendMessageW(editView_, EM_SETSEL, 0, -1);
      SendMessageW(editView_, EM_SCROLLCARET, 0, 0);
      return true;
    case ID_EDIT_READONLY: document_->SetEditForbidden(!document_->IsEditForbidden()); return true;
    case ID_EDIT_FIND: findReplace_->OnEditFind(); return true;
    case ID_EDIT_FIND_UP: findReplace_->OnEditFindUp(); return true;
    case ID_EDIT_FIND_DOWN: findReplace_->OnEditFindDown(); return true;
    case ID_EDIT_REPLACE: findReplace_->OnEditReplace(); return true;
    case ID_TOOL_SETTINGS: RunSettingsDialog(window_); return true;
    case ID_APP_ABOUT: RunAboutDialog(window_); return true;
    default:
      return false;
  }
}

void MainFrame::OnFindReplaceMessage() {
  findReplaceDialogs_->TakeDialogAction();
  findReplace_->OnFindReplaceMessage();
}

void MainFrame::OnInitMenu(HMENU menu) {
  const bool editable = !document_->IsEditForbidden();
  const bool selection = HasSelection(editView_);
  const bool clipboardText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
  const bool dialogOpen = findReplaceDialogs_->IsDialogOpen();
  Enable(menu, ID_FILE_SAVE, editable);
  Enable(menu, ID_EDIT_CLEAR, selection && editable);
  Enable(menu, ID_EDIT_COPY, selection);
  Enable(menu, ID_EDIT_CUT, selection && editable);
  Enable(menu, ID_EDIT_PASTE, clipboardText && editable);
  Enable(menu, ID_EDIT_UNDO, textView_->CanUndo() && editable);
  Enable(menu, ID_EDIT_FIND, !dialogOpen);
  Enable(menu, ID_EDIT_REPLACE, editable && !dialogOpen);
}

void MainFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) {
    statusBar_->ShowMenuClosed();
    return;
  }
  // Popup titles and separators have no help text.
  std::string help;
  if (!(flags & (MF_POPUP | MF_SEPARATOR))) LoadText(static_cast<int>(item), help, 256);
  statusBar_->ShowMenuHelp(help);
}

void MainFrame::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
    paths.push_back(windows::Narrow(path));
  }
  DragFinish(drop);
  if (!wait_->IsWaiting()) document_->OnDropFiles(paths);
}

void MainFrame::LayOut() {
  RECT client{};
  GetClientRect(window_, &client);
  RECT bar{};
  GetWindowRect(statusBar_->Window(), &bar);
  POINT barTop{bar.right, bar.top};
  ScreenToClient(window_, &barTop);
  MoveWindow(editView_, client.left, 0, client.right, barTop.y, TRUE);
}

void MainFrame::RefreshCaretPos() {
  if (textView_) statusBar_->ShowPosition(CaretPositionText(*textView_));
}

void MainFrame::CaretMayHaveMoved() {
  if (!textView_) return;
  const LineColumn at = textView_->GetSelectionStartLineColumn();
  const LexedEditLine line = LexEditLine(editView_, at.line);
  statusBar_->ShowCaretCharacter(CaretCharacterText(line.native, line.spans, at.column));
}

void MainFrame::SetTitle(std::string_view title) { SetWindowTextW(window_, windows::Wide(title).c_str()); }

void MainFrame::EditForbiddenChanged(bool editForbidden) {
  HMENU editMenu = GetSubMenu(GetMenu(window_), kEditMenuIndex);
  if (editForbidden) findReplaceDialogs_->CloseDialog();
  CheckMenuItem(editMenu, ID_EDIT_READONLY, MF_BYCOMMAND | (editForbidden ? MF_CHECKED : MF_UNCHECKED));
}

void MainFrame::FileFormatChanged(const FileFormat& format) { statusBar_->ShowFileFormat(FileFormatLabel(format)); }

bool MainFrame::EscapeClosesWindow() const {
  return propdesk::EscapeClosesWindow(GetSettings(), document_->IsEditForbidden());
}

}  // namespace propdesk
