#pragma once
// The one document: its file name, line-end style and edit-forbidden mode, and every operation
// that replaces, stores or names the text held by the view.
#include <optional>
#include <string>
#include <vector>

#include "common/prompts.h"
#include "document/frame_window.h"
#include "document/text_view.h"

namespace propdesk {

class Document {
 public:
  Document(TextView& view, Prompts& prompts, FrameWindow& frame);

  // Reads a file into the view: escaped .properties form, or plain text when asImport.
  bool OpenDocument(const std::string& path, bool asImport);
  // Writes the view's text: escaped .properties form, or plain text when asExport.
  bool SaveDocument(const std::string& path, bool asExport);
  void NewDocument();
  void ChooseAndOpen(bool asImport);
  bool ChooseAndSave(bool asExport);
  bool SaveCurrent();
  // The save-changes prompt: true when the caller may go on.
  bool QuerySaveChanges();
  // The view's text was edited by the person.
  void MarkModified();
  void UpdateTitle();
  void SetDocumentPath(const std::optional<std::string>& path);
  // Files dropped on the window: exactly one is opened, unless it is the document's own file.
  void OnDropFiles(const std::vector<std::string>& paths);

  void SetEditForbidden(bool editForbidden);
  bool IsEditForbidden() const { return editForbidden_; }

  bool HasDocumentPath() const { return documentPath_.has_value(); }
  const std::optional<std::string>& DocumentPath() const { return documentPath_; }
  bool LfLineEnds() const { return lfLineEnds_; }

 private:
  TextView& view_;
  Prompts& prompts_;
  FrameWindow& frame_;
  std::optional<std::string> documentPath_;
  bool lfLineEnds_ = false;
  bool editForbidden_ = false;
};

// Turns every line break into CR LF; lfStyle tells whether a bare LF came before the first CR LF.
// Returns false, leaving text untouched, only when no memory can be had.
bool ExpandLineEnds(std::string& text, bool& lfStyle);
// Turns every CR LF back into LF; lone CRs and LFs stay.
void CollapseLineEnds(std::string& text);

}  // namespace propdesk
