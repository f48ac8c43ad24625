#include "document/document.h"

#include <exception>
#include <string_view>
#include <utility>

#include "common/string_table.h"
#include "convert/escape_syntax.h"
#include "convert/native_text.h"
#include "convert/utf8_native_codec.h"
#include "document/line_ends.h"
#include "platform/file_identity.h"
#include "platform/whole_file.h"

namespace propdesk {
namespace {

constexpr std::string_view kDefaultExtension = "properties";

std::string LoadString(int id) {
  std::string text;
  LoadText(id, text);
  return text;
}

}  // namespace

Document::Document(TextView& view, Prompts& prompts, FrameWindow& frame, const Settings& settings,
                   CancelCheck externalCommandCheck)
    : view_(view),
      prompts_(prompts),
      frame_(frame),
      settings_(settings),
      externalCommandCheck_(std::move(externalCommandCheck)) {}

bool Document::OpenDocument(const std::string& path, bool asImport) {
  std::optional<std::string> newPath;
  bool lfStyle = false;
  ReadResult found;
  std::string text;
  std::vector<std::string> refusedEscapeLines;
  try {
    if (!ReadNativeText(path, asImport, text, found)) return false;
    if (!ExpandLineEnds(text, lfStyle)) return Fail(IDS_READ_FAILED);
    refusedEscapeLines = FindRefusedEscapes(text).lines;
    if (!asImport) newPath = path;
    // The last step that may fail; the document has not changed before it.
    view_.SetText(text);
  } catch (const std::exception&) {
    return Fail(IDS_READ_FAILED);
  }
  view_.ScrollCaretIntoView();
  documentPath_.swap(newPath);
  refusedEscapeLines_.swap(refusedEscapeLines);
  fileStamp_ = documentPath_ ? TakeFileStamp(*documentPath_) : std::nullopt;
  // Kept once the view has the text, whose taking needs the most memory of opening, so that the
  // lines' keys do not raise that peak.
  untouched_.reset();
  try {
    if (found.file) untouched_ = UntouchedLines::Keep(std::move(*found.file), TextStart(found.format), text);
  } catch (const std::exception&) {
    // Without memory for the lines, saving encodes every line.
  }
  found.format.lfLineEnds = !asImport && lfStyle;
  SetFileFormat(found.format);
  view_.SetModified(asImport);
  view_.EmptyUndoBuffer();
  UpdateTitle();
  // Bytes without a native meaning would be saved as U+30FB, and raw bytes that Java reads as
  // ISO-8859-1 would be saved as escapes of other characters: the document opens edit-forbidden.
  const bool warned = found.undefinedNativeBytes || found.rawNativeBytes;
  SetEditForbidden(warned || (!asImport && settings_.ReadOnlyOpen));
  if (warned) Tell(found.undefinedNativeBytes ? IDS_UNDEFINED_NATIVE_BYTES : IDS_RAW_NATIVE_BYTES);
  return true;
}

bool Document::ReadNativeText(const std::string& path, bool asImport, std::string& text, ReadResult& found) {
  if (path.size() > kMaxPathBytes || !IsExistingFile(path) || !ReadWholeFile(path, text).ok()) {
    return Fail(IDS_READ_FAILED);
  }
  if (asImport) return true;
  std::string file;
  file.swap(text);
  // The mark and the form are the file's, whichever converter runs: a UTF-8 file is always
  // converted here, since an external converter would read it as code page 932.
  found.format = FileFormatOf(file);
  const std::string_view body = std::string_view(file).substr(TextStart(found.format));
  if (found.format.encoding == FileFormat::Encoding::kUtf8) {
    text = Utf8TextToNative(body);
  } else {
    found.undefinedNativeBytes = !IsDefinedNativeText(body);
    // Not UTF-8 (that would be the UTF-8 form), so what Java reads as ISO-8859-1.
    found.rawNativeBytes = escape::SkipAscii(body.data(), body.data() + body.size()) != body.data() + body.size();
    std::string errorText;
    if (!ConvertToNative(body, text, &errorText, Converter())) {
      prompts_.ShowMessageText(errorText, MessageStyle::Ok);
      return false;
    }
  }
  // The bytes as read are kept only for writing untouched lines back; else they go now.
  if (KeepsUntouchedLines(found.format)) found.file = std::move(file);
  return true;
}

bool Document::SaveDocument(const std::string& path, bool asExport) {
  std::optional<UntouchedLines> written;
  RefusedEscapes refused;
  try {
    if (!asExport) {
      refused = FindRefusedEscapes(view_.GetText(), refusedEscapeLines_);
      if (!MayWriteRefusedEscape(refused.firstNew) || !MayOverwrite(path)) return false;
    }
    if (!WriteViewText(path, asExport, written)) return false;
  } catch (const std::exception&) {
    return Fail(IDS_WRITE_FAILED);
  }
  // An export is not the document's file: what is kept of that stays.
  if (asExport) return true;
  untouched_ = std::move(written);
  // The person has agreed to these: the next save asks only about lines edited after this one.
  refusedEscapeLines_.swap(refused.lines);
  fileStamp_ = TakeFileStamp(path);
  view_.SetModified(false);
  view_.EmptyUndoBuffer();
  UpdateTitle();
  return true;
}

bool Document::WriteViewText(const std::string& path, bool asExport, std::optional<UntouchedLines>& written) {
  // A longer name could be written but never opened again as the document.
  if (path.size() > kMaxPathBytes) return Fail(IDS_WRITE_FAILED);
  const bool keep = !asExport && KeepsUntouchedLines(fileFormat_);
  std::string text;
  if (keep && untouched_) {
    written = untouched_->Rewrite(view_.GetText(), fileFormat_.encoding);
  } else {
    text = view_.GetText();
    if (!asExport && !ToFileForm(text)) return false;
  }
  if (const SaveResult saved = WriteWholeFile(path, written ? written->File() : text); !saved.ok()) {
    if (!saved.folderRefusedNewFile) return Fail(IDS_WRITE_FAILED);
    // The file itself may be writable: the person needs to know that the folder is the obstacle.
    std::string message;
    if (LoadText(IDS_FOLDER_REFUSES_NEW_FILES, message)) {
      FillPlaceholder(message, "%s", path);
      prompts_.ShowMessageText(message, MessageStyle::Ok);
    }
    return false;
  }
  // Kept from now on, so that the next save keeps the lines this one wrote.
  if (keep && !written) {
    try {
      written = UntouchedLines::Keep(std::move(text), TextStart(fileFormat_), view_.GetText());
    } catch (const std::exception&) {
      // Without memory for that, the file is written all the same; the next save encodes every line.
    }
  }
  return true;
}

bool Document::ToFileForm(std::string& text) {
  if (fileFormat_.encoding == FileFormat::Encoding::kUtf8) {
    text = NativeToUtf8Text(text);
  } else if (std::string errorText; !ConvertToEscaped(text, &errorText, Converter())) {
    prompts_.ShowMessageText(errorText, MessageStyle::Ok);
    return false;
  }
  if (fileFormat_.lfLineEnds) CollapseLineEnds(text);
  PutByteOrderMark(fileFormat_, text);
  return true;
}

ConverterChoice Document::Converter() const {
  return {settings_.UseNative2Ascii, settings_.Native2AsciiPath, externalCommandCheck_};
}

// Not for an escaped file that the external command converts: it converts the whole text its own way.
bool Document::KeepsUntouchedLines(const FileFormat& format) const {
  return settings_.KeepUntouchedLines &&
         (format.encoding == FileFormat::Encoding::kUtf8 || !settings_.UseNative2Ascii);
}

void Document::SetFileFormat(const FileFormat& format) {
  fileFormat_ = format;
  frame_.FileFormatChanged(format);
}

bool Document::MayWriteRefusedEscape(const std::optional<RefusedEscape>& refused) {
  if (!refused) return true;
  std::string question;
  if (!LoadText(IDS_REFUSED_ESCAPE, question)) return false;
  FillPlaceholder(question, "%s", std::to_string(refused->line + 1));
  FillPlaceholder(question, "%s",
                  std::string_view(view_.GetText()).substr(refused->begin, refused->end - refused->begin));
  if (prompts_.ShowMessageText(question, MessageStyle::YesNo) == MessageResult::Yes) return true;
  view_.SetSelection(refused->begin, refused->end);
  view_.ScrollCaretIntoView();
  return false;
}

bool Document::MayOverwrite(const std::string& path) {
  if (!documentPath_ || path != *documentPath_ || !fileStamp_) return true;
  const std::optional<FileStamp> now = TakeFileStamp(path);
  // A file that has gone is written anew: nothing of another program's is lost.
  if (!now || *now == *fileStamp_) return true;
  std::string question;
  if (!LoadText(IDS_CHANGED_ON_DISK, question)) return false;
  FillPlaceholder(question, "%s", path);
  return prompts_.ShowMessageText(question, MessageStyle::YesNo) == MessageResult::Yes;
}

void Document::NewDocument() {
  view_.SetText({});
  documentPath_.reset();
  fileStamp_.reset();
  untouched_.reset();
  refusedEscapeLines_.clear();
  SetFileFormat({});
  view_.SetModified(false);
  view_.EmptyUndoBuffer();
  UpdateTitle();
  SetEditForbidden(false);
}

void Document::ChooseAndOpen(bool asImport) {
  std::optional<std::string> path;
  try {
    path = prompts_.ChooseFileToOpen(LoadString(IDS_PROPERTIES_FILTER), kDefaultExtension);
  } catch (const std::exception&) {
    Fail(IDS_READ_FAILED);
    return;
  }
  if (path) OpenDocument(*path, asImport);
}

bool Document::ChooseAndSave(bool asExport) {
  std::optional<std::string> path;
  try {
    path = prompts_.ChooseFileToSave(LoadString(IDS_PROPERTIES_FILTER), kDefaultExtension);
  } catch (const std::exception&) {
    return Fail(IDS_WRITE_FAILED);
  }
  if (!path || !SaveDocument(*path, asExport)) return false;
  if (!asExport) {
    documentPath_.swap(path);
    UpdateTitle();
  }
  return true;
}

bool Document::SaveCurrent() {
  return documentPath_ ? SaveDocument(*documentPath_, false) : ChooseAndSave(false);
}

bool Document::QuerySaveChanges() {
  if (!view_.IsModified()) return true;
  // An untitled document that has been emptied is discarded without asking.
  if (!documentPath_ && view_.IsEmpty()) return true;
  MessageResult answer = MessageResult::Cancel;
  try {
    std::string question;
    if (LoadText(IDS_SAVE_CHANGES, question)) {
      FillPlaceholder(question, "%s", DisplayName());
      answer = prompts_.ShowMessageText(question, MessageStyle::YesNoCancel);
    }
  } catch (const std::exception&) {
    // A question that cannot be asked keeps the changes: the caller does not go on.
  }
  switch (answer) {
    case MessageResult::Cancel:
      return false;
    case MessageResult::Yes:
      return SaveCurrent();
    default:
      return true;
  }
}

void Document::OnFileNew() {
  if (QuerySaveChanges()) NewDocument();
}

void Document::OnFileOpen() {
  if (QuerySaveChanges()) ChooseAndOpen(false);
}

void Document::OnFileImport() {
  if (QuerySaveChanges()) ChooseAndOpen(true);
}

void Document::OnFileSave() {
  if (!editForbidden_) SaveCurrent();
}

void Document::MarkModified() {
  view_.SetModified(true);
  UpdateTitle();
}

void Document::UpdateTitle() {
  try {
    std::string title = DisplayName();
    if (view_.IsModified()) title += LoadString(IDS_MODIFIED);
    title += " - ";
    title += GetAppTitle();
    frame_.SetTitle(title);
  } catch (const std::exception&) {
    // Without memory for the text the title keeps its previous text.
  }
}


void Document::OnDropFiles(const std::vector<std::string>& paths) {
  if (paths.size() != 1) return;
  const std::string& dropped = paths.front();
  if (documentPath_ && IsSameFile(*documentPath_, dropped)) return;
  if (QuerySaveChanges()) OpenDocument(dropped, false);
}

void Document::SetEditForbidden(bool editForbidden) {
  editForbidden_ = editForbidden;
  view_.SetReadOnly(editForbidden);
  frame_.EditForbiddenChanged(editForbidden);
}

void Document::Tell(int messageId) {
  try {
    ShowMessage(prompts_, messageId, MessageStyle::Ok);
  } catch (const std::exception&) {
    // Nothing more can be told without memory.
  }
}

bool Document::Fail(int messageId) {
  Tell(messageId);
  return false;
}

std::string Document::DisplayName() const { return documentPath_ ? *documentPath_ : LoadString(IDS_UNTITLED); }

}  // namespace propdesk
