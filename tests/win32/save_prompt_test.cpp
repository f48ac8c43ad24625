// Every way of replacing or ending a modified document asks to save it first: New, Open, Import,
// a dropped file, closing the window and ending the session, each answered Cancel, No and Yes.
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "common/command_ids.h"
#include "frame_fixture.h"
#include "support/properties_reader.h"
#include "support/temp_dir.h"
#include "win32/frame_messages.h"

namespace propdesk {
namespace {

using test::Win32Frame;

// A drop handle as the shell hands it over: wide names, each ended by a NUL, the list by another.
HDROP MakeDrop(const std::string& path) {
  std::wstring names = windows::Wide(path);
  names.append(2, L'\0');
  const std::size_t bytes = names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), bytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(Win32Frame, EveryRoadAwayFromAModifiedDocumentAsksToSaveItFirst) {
  EXPECT_EQ(Title(), "(無題) - Propdesk");
  test::TempDir folder;
  const std::string edited = folder.File("edited.properties");
  const std::string escapedFile = folder.File("日本語.properties");
  const std::string plainFile = folder.File("plain.txt");
  const std::string editedBytes = "# note\r\nkey=\\u3042";
  const std::u16string editedText = u"# note\r\nkey=あx";  // with the x typed at its end
  test::WriteFileBytes(escapedFile, "greeting=\\u3053\\u3093");
  test::WriteFileBytes(plainFile, "imported");

  struct Road {
    const char* name;
    std::function<LRESULT()> take;
    // What the path chooser answers when the road shows it.
    std::optional<std::string> chosen;
    // The title and text once the road has gone on; no title: the document stays as the answer left it.
    std::optional<std::string> title;
    std::u16string text;
    bool closes;
    // The answer to the system: whether the session may end.
    bool answersEndSession;
  };
  const auto send = [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return [=, this] { return SendMessageW(frame->Window(), message, wParam, lParam); };
  };
  const auto drop = [&] {
    const HDROP dropped = MakeDrop(escapedFile);  // the window lets it go
    return SendMessageW(frame->Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropped), 0);
  };
  const std::string named = escapedFile + " - Propdesk";
  const Road roads[] = {
      {"New", send(WM_COMMAND, ID_FILE_NEW, 0), std::nullopt, "(無題) - Propdesk", u"", false, false},
      {"Open", send(WM_COMMAND, ID_FILE_OPEN, 0), escapedFile, named, u"greeting=こん", false, false},
      {"Import", send(WM_COMMAND, ID_FILE_IMPORT, 0), plainFile, "(無題)(更新) - Propdesk", u"imported", false, false},
      {"drop", drop, std::nullopt, named, u"greeting=こん", false, false},
      {"close", send(WM_CLOSE, 0, 0), std::nullopt, std::nullopt, u"", true, false},
      {"log-off", send(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), std::nullopt, std::nullopt, editedText, false,
       true},
  };
  const std::string question = "ファイル " + edited + " の内容は変更されています。\n\n変更を保存しますか？";
  const MessageResult answers[] = {MessageResult::Cancel, MessageResult::No, MessageResult::Yes};
  GetSettings().ReadOnlyOpen = false;
  for (const Road& road : roads) {
    for (const MessageResult answer : answers) {
      SCOPED_TRACE(::testing::Message() << road.name << ", answer " << static_cast<int>(answer));
      const bool goesOn = answer != MessageResult::Cancel;
      const bool saves = answer == MessageResult::Yes;
      if (!frame->Window()) {  // closed by the case before
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        frame = MainFrame::Create(&prompts);
        ASSERT_TRUE(frame);
        edit = frame->EditView();
      }
      HWND window = frame->Window();
      test::WriteFileBytes(edited, editedBytes);
      // Opening the file this way asks nothing, whatever the document before.
      SendMessageW(window, WM_OPENFILE, 0, reinterpret_cast<LPARAM>(edited.c_str()));
      SendMessageW(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
      Type(u"x");
      const std::string modifiedTitle = edited + "(更新) - Propdesk";
      ASSERT_EQ(Title(), modifiedTitle);
      prompts.messages.clear();
      prompts.answers = {answer};
      if (goesOn && road.chosen) prompts.chosenPaths = {*road.chosen};

      const LRESULT result = road.take();

      EXPECT_EQ(prompts.MessageTexts(), std::vector<std::string>{question});
      EXPECT_TRUE(prompts.chosenPaths.empty());
      EXPECT_EQ(result, road.answersEndSession && goesOn ? TRUE : FALSE);
      const std::string file = test::ReadFileBytes(edited);
      if (saves) {
        EXPECT_EQ(test::ReadProperties(file).entries.at(u"key"), u"あx") << file;
      } else {
        EXPECT_EQ(file, editedBytes);
      }
      EXPECT_EQ(IsWindow(window) == FALSE, goesOn && road.closes);
      if (!IsWindow(window)) continue;
      if (!goesOn) {
        EXPECT_EQ(Title(), modifiedTitle);
        EXPECT_EQ(ViewText(), editedText);
        continue;
      }
      EXPECT_EQ(Title(), road.title.value_or(saves ? edited + " - Propdesk" : modifiedTitle));
      EXPECT_EQ(ViewText(), road.text);
    }
  }
}

}  // namespace
}  // namespace propdesk
