#pragma once
// The program's one window: the menu, the edit view and the status bar. It routes every command,
// drop, close and log-off to the document and greys the menu's items by the current state.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "document/frame_window.h"
#include "search/search_state.h"
#include "win32/edit_view_hook.h"

namespace propdesk {

class Document;
class ExternalCommandWait;
class FindReplaceCommands;
class Prompts;
class StatusBar;
class Win32FindReplaceDialogHost;
class Win32TextView;

class MainFrame final : public FrameWindow, public EditViewHook::Owner {
 public:
  // Creates the visible window with its children; null when that fails. The frame asks the
  // person through prompts when given (they must outlive it), else through message boxes and the
  // common file dialogs.
  static std::unique_ptr<MainFrame> Create(Prompts* prompts = nullptr);
  ~MainFrame() override;
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  HWND Window() const override { return window_; }
  HWND EditView() const { return editView_; }
  HWND StatusBarWindow() const;
  // The open find or replace dialog, or null; the message loop gives it its messages first.
  HWND FindReplaceDialog() const;

  void SetTitle(std::string_view title) override;
  void EditForbiddenChanged(bool editForbidden) override;
  void FileFormatChanged(const FileFormat& format) override;

  bool EscapeClosesWindow() const override;
  void CaretMayHaveMoved() override;

 private:
  explicit MainFrame(Prompts* prompts);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCreate();
  // True when the command is one of the window's.
  bool OnCommand(int id);
  void OnFindReplaceMessage();
  void OnInitMenu(HMENU menu);
  void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  void OnDropFiles(HDROP drop);
  void LayOut();
  void RefreshCaretPos();

  Prompts* givenPrompts_;
  std::unique_ptr<Prompts> ownPrompts_;
  HWND window_ = nullptr;
  HWND editView_ = nullptr;
  std::unique_ptr<StatusBar> statusBar_;
  std::unique_ptr<Win32TextView> textView_;
  std::unique_ptr<ExternalCommandWait> wait_;
  std::unique_ptr<Document> document_;
  SearchState searchState_;
  std::unique_ptr<Win32FindReplaceDialogHost> findReplaceDialogs_;
  std::unique_ptr<FindReplaceCommands> findReplace_;
};

}  // namespace propdesk
