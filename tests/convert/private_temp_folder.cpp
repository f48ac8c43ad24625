#include "private_temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/utf16.h"

namespace propdesk::test {
namespace {

#ifdef _WIN32
// GetTempPathW reads TMP first; the process's own variable, in UTF-16, so that any folder works.
const wchar_t kTempVariable[] = L"TMP";

std::wstring Wide(const std::string& text) {
  const std::u16string units = Utf8ToUtf16(text);
  return {units.begin(), units.end()};
}

std::optional<std::string> ReadVariable() {
  std::wstring value(32767, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(kTempVariable, value.data(), static_cast<DWORD>(value.size()));
  if (length == 0) return std::nullopt;
  return Utf16ToUtf8(std::u16string(value.begin(), value.begin() + length));
}

void WriteVariable(const std::optional<std::string>& value) {
  ::SetEnvironmentVariableW(kTempVariable, value ? Wide(*value).c_str() : nullptr);
}

bool EndedNow(long id) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return true;
  const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}
#else
constexpr const char* kTempVariable = "TMPDIR";

std::optional<std::string> ReadVariable() {
  const char* value = std::getenv(kTempVariable);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void WriteVariable(const std::optional<std::string>& value) {
  if (value) {
    ::setenv(kTempVariable, value->c_str(), 1);
  } else {
    ::unsetenv(kTempVariable);
  }
}

bool EndedNow(long id) {
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t nameEnd = line.rfind(')');
  return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] == 'Z';
}
#endif

}  // namespace

PrivateTempFolder::PrivateTempFolder() : saved_(ReadVariable()) { WriteVariable(path()); }

PrivateTempFolder::~PrivateTempFolder() { WriteVariable(saved_); }

std::vector<std::string> PrivateTempFolder::Leftovers() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(path()))) {
    names.push_back(Utf8Path(entry.path().filename()));
  }
  return names;
}

bool ProcessEnded(long id) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!EndedNow(id)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace propdesk::test
