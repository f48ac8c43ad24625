#pragma once
// The program's own texts, looked up by id. Texts are UTF-8.
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace propdesk {

// Well-known string ids.
enum StringId : int {
  IDS_APP_TITLE = 10000,
  IDS_UNTITLED = 11100,
  IDS_MODIFIED = 11101,
  IDS_PROPERTIES_FILTER = 11200,
  IDS_PROGRAM_FILTER = 11201,
  IDS_READ_FAILED = 11203,
  IDS_WRITE_FAILED = 11204,
  IDS_SAVE_CHANGES = 11205,
  IDS_REPLACED_COUNT = 11206,
  IDS_NOT_FOUND = 11207,
  IDS_UTF8 = 11210,
  IDS_UTF8_WITH_BOM = 11211,
  IDS_UNDEFINED_NATIVE_BYTES = 11212,
  IDS_RAW_NATIVE_BYTES = 11213,
  IDS_REFUSED_ESCAPE = 11214,
  IDS_CHANGED_ON_DISK = 11220,
  IDS_FOLDER_REFUSES_NEW_FILES = 11221,
  IDS_CONVERSION_FIRST = 11300,
  IDS_UNEXPECTED_ERROR = 11309,
  IDS_CONVERSION_CANCELLED = 11310,
  IDS_WAITING_FOR_COMMAND = 11400,
  IDS_CANCEL = 11401,
  IDS_ESCAPED_FORM = 11800,
  IDS_ESCAPED_FORM_WITH_BOM = 11801,
  IDS_ESCAPE_NOT_IN_CP932 = 11802,
  IDS_ESCAPE_KEPT_FOR_MEANING = 11803,
};

// Replaces text with string `id`, cut to at most capacity - 1 bytes on a character boundary.
// True when the string exists and is not empty; otherwise text is left empty.
bool LoadText(int id, std::string& text, std::size_t capacity = std::numeric_limits<std::size_t>::max());

// Cuts text to at most capacity - 1 bytes without splitting a UTF-8 character.
void CutToCapacity(std::string& text, std::size_t capacity);

// Replaces the first placeholder (such as "%s" or "%d") in text with value; text without it stays.
void FillPlaceholder(std::string& text, std::string_view placeholder, std::string_view value);

// The application title, "Propdesk".
const std::string& GetAppTitle();

}  // namespace propdesk
