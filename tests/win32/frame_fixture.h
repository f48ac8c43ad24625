#pragma once
// The Windows main window, created for real for each test and driven with window messages as the
// person's keys and menus would drive it; the person's answers come from a scripted double.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/windows/file_access.h"
#include "settings/settings.h"
#include "support/scripted_prompts.h"
#include "win32/main_frame.h"

namespace propdesk::test {

class Win32Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    GetSettings() = Settings{};
    frame = MainFrame::Create(&prompts);
    ASSERT_TRUE(frame);
    edit = frame->EditView();
  }
  void TearDown() override {
    frame.reset();
    // The frame's quit message, which would answer every later look at the queue.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    GetSettings() = Settings{};
  }

  void Command(int id) { SendMessageW(frame->Window(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void Type(const std::u16string& text) {
    for (const char16_t unit : text) SendMessageW(edit, WM_CHAR, unit, 0);
  }
  std::u16string ViewText() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)), L'\0');
    GetWindowTextW(edit, text.data(), static_cast<int>(text.size() + 1));
    return {text.begin(), text.end()};
  }
  void SetViewText(const wchar_t* text) {
    SetWindowTextW(edit, text);
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  }
  std::string Title() const {
    wchar_t title[1024] = {};
    GetWindowTextW(frame->Window(), title, 1024);
    return windows::Narrow(title);
  }
  std::string PaneText(WPARAM pane) const {
    HWND bar = frame->StatusBarWindow();
    wchar_t text[512] = {};
    SendMessageW(bar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text));
    return windows::Narrow(text);
  }
  bool ClosePosted() const {
    MSG posted;
    return PeekMessageW(&posted, frame->Window(), WM_CLOSE, WM_CLOSE, PM_REMOVE) && posted.message == WM_CLOSE;
  }
  bool IsGreyed(int id) const {
    return (GetMenuState(GetMenu(frame->Window()), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) != 0;
  }

  ScriptedPrompts prompts;
  std::unique_ptr<MainFrame> frame;
  HWND edit = nullptr;
};

}  // namespace propdesk::test
