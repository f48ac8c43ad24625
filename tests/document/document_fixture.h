#pragma once
// A document over the view double, scripted prompts and a recording window, with real files in a
// temporary folder. The view's modified-flag signal is wired to UpdateTitle as the shell wires it.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "document/document.h"
#include "settings/settings.h"
#include "support/fake_text_view.h"
#include "support/recording_frame_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace propdesk::test {

inline constexpr const char* kReadFailed = "ファイルの読み込みに失敗しました。";
inline constexpr const char* kWriteFailed = "ファイルの書き込みに失敗しました。";

// Everything a person can observe of the document.
struct DocumentState {
  std::string text;
  std::optional<std::string> path;
  bool modified = false;
  bool lfLineEnds = false;
  bool editForbidden = false;
  bool viewReadOnly = false;
  bool canUndo = false;
  std::string title;
  bool operator==(const DocumentState&) const = default;
};

inline void PrintTo(const DocumentState& s, std::ostream* out) {
  *out << "{text " << ::testing::PrintToString(s.text) << ", path " << (s.path ? *s.path : "(none)")
       << ", modified " << s.modified << ", lf " << s.lfLineEnds << ", forbidden " << s.editForbidden << "/"
       << s.viewReadOnly << ", undo " << s.canUndo << ", title " << s.title << "}";
}

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() {
    view.onModifiedChanged = [this] { document.UpdateTitle(); };
    document.UpdateTitle();
  }
  ~DocumentTest() override {
    EXPECT_TRUE(prompts.answers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(prompts.chosenPaths.empty()) << "a scripted chooser was not shown";
  }

  // Writes a file into the temporary folder and returns its path.
  std::string MakeFile(const std::string& name, std::string_view bytes) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, bytes);
    return path;
  }
  // Types text at the end of the document, as a person would.
  void Type(std::string_view text) {
    view.SetSelection(std::string::npos, std::string::npos);
    view.ReplaceSelection(text);
  }
  DocumentState State() const {
    return {view.GetText(), document.DocumentPath(), view.IsModified(), frame.fileFormat.lfLineEnds,
            document.IsEditForbidden(), view.IsReadOnly(), view.CanUndo(), frame.title};
  }

  TempDir dir;
  // The document reads these at the moment it needs them, as it reads the window's.
  Settings settings;
  FakeTextView view;
  ScriptedPrompts prompts;
  RecordingFrameWindow frame;
  Document document{view, prompts, frame, settings};
};

}  // namespace propdesk::test
