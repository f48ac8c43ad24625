#pragma once
// The one document: its file name, file format and edit-forbidden mode, and every
// operation that replaces, stores or names the text held by the view.
//
// Errors in the document layer: an operation that fails shows one message through the prompts,
// leaves the document as it was and returns false; no exception leaves these operations.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/prompts.h"
#include "convert/conversion_front.h"
#include "document/file_format.h"
#include "platform/file_identity.h"
#include "document/frame_window.h"
#include "document/refused_escapes.h"
#include "document/text_view.h"
#include "document/untouched_lines.h"
#include "settings/settings.h"

namespace propdesk {

// The longest path a document may have, in bytes.
inline constexpr std::size_t kMaxPathBytes = 259;

class Document {
 public:
  // The view's modified flag is the document's modified state; there is no copy of it here.
  // The window calls UpdateTitle once after creating the document. The settings are read at the
  // moment each operation needs them, so they must outlive the document. An external converter
  // asks externalCommandCheck while its command runs.
  Document(TextView& view, Prompts& prompts, FrameWindow& frame, const Settings& settings,
           CancelCheck externalCommandCheck = {});

  // Reads a file into the view: escaped .properties form, or plain text when asImport.
  // Used as it is for a file named on the command line.
  bool OpenDocument(const std::string& path, bool asImport);
  // Writes the view's text: escaped .properties form, or plain text when asExport.
  bool SaveDocument(const std::string& path, bool asExport);
  void NewDocument();
  // Open chooser, then OpenDocument; nothing happens when the person cancels.
  void ChooseAndOpen(bool asImport);
  // Save chooser, then SaveDocument; Save As adopts the chosen name, Export never does.
  bool ChooseAndSave(bool asExport);
  // Saves under the document's name, asking for one when it is untitled.
  bool SaveCurrent();
  // The save-changes prompt: true when the caller may go on (close, log off, replace the text).
  bool QuerySaveChanges();

  // The file menu's New, Open, Import and Save commands: the first three ask about unsaved
  // changes first; Save does nothing while the document is edit-forbidden. Save As and Export
  // are ChooseAndSave(false) and ChooseAndSave(true).
  void OnFileNew();
  void OnFileOpen();
  void OnFileImport();
  void OnFileSave();

  // Sets the modified flag and refreshes the title, for a change the view does not flag itself.
  // A view that flags the person's edits itself (and clears the flag when undo returns to the
  // last saved state) needs no call per edit: calling it on every edit would set the flag again
  // after such an undo.
  void MarkModified();
  // Composes the title from the name and the view's modified flag. Call it whenever the view's
  // modified flag changes (the toolkit's modification-changed signal), so that the "(更新)" mark
  // follows edits and an undo back to the saved state.
  void UpdateTitle();
  // Files dropped on the window: exactly one is opened, unless it is the document's own file
  // (the same device and inode, whatever the form of the path).
  void OnDropFiles(const std::vector<std::string>& paths);

  // Switches the view's read-only state and tells the frame (check mark, find dialog).
  void SetEditForbidden(bool editForbidden);
  bool IsEditForbidden() const { return editForbidden_; }

  const std::optional<std::string>& DocumentPath() const { return documentPath_; }

 private:
  // What reading a file found besides its text.
  struct ReadResult {
    FileFormat format;
    bool undefinedNativeBytes = false;
    // Escaped form with bytes of 0x80 and above, which Java reads as ISO-8859-1.
    bool rawNativeBytes = false;
    // The bytes as read, when the file's untouched lines are to be kept.
    std::optional<std::string> file;
  };
  bool ReadNativeText(const std::string& path, bool asImport, std::string& text, ReadResult& found);
  // written: what is kept of the file written, when its untouched lines are kept.
  bool WriteViewText(const std::string& path, bool asExport, std::optional<UntouchedLines>& written);
  bool ToFileForm(std::string& text);
  // The converter the settings choose at this moment.
  ConverterChoice Converter() const;
  // Whether saving writes the lines the person has not changed back as they are in the file.
  bool KeepsUntouchedLines(const FileFormat& format) const;
  void SetFileFormat(const FileFormat& format);
  void Tell(int messageId);
  // False when the person does not want refused, the first \u escape that Java refuses on a line
  // edited since the last open or save, written; the escape is selected then.
  bool MayWriteRefusedEscape(const std::optional<RefusedEscape>& refused);
  // False when the document's own file has changed on disk since it was read or written and the
  // person does not want it overwritten.
  bool MayOverwrite(const std::string& path);
  bool Fail(int messageId);
  std::string DisplayName() const;

  TextView& view_;
  Prompts& prompts_;
  FrameWindow& frame_;
  const Settings& settings_;
  CancelCheck externalCommandCheck_;
  std::optional<std::string> documentPath_;
  FileFormat fileFormat_;
  // The document's file as last read or written; none for an untitled document.
  std::optional<FileStamp> fileStamp_;
  // The document's file as last read or written, while the settings keep its untouched lines.
  std::optional<UntouchedLines> untouched_;
  // The lines that held an escape Java refuses when the file was read or last saved.
  std::vector<std::string> refusedEscapeLines_;
  bool editForbidden_ = false;
};

}  // namespace propdesk
