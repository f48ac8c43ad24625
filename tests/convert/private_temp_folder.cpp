#include "private_temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace propdesk::test {
namespace {

#ifdef _WIN32
// GetTempPathW reads TMP first.
constexpr const char* kTempVariable = "TMP";

void SetVariable(const std::string& value) { ::_putenv_s(kTempVariable, value.c_str()); }
void UnsetVariable() { ::_putenv_s(kTempVariable, ""); }

bool EndedNow(long id) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return true;
  const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  ::CloseHandle(process);
  return ended;
}
#else
constexpr const char* kTempVariable = "TMPDIR";

void SetVariable(const std::string& value) { ::setenv(kTempVariable, value.c_str(), 1); }
void UnsetVariable() { ::unsetenv(kTempVariable); }

bool EndedNow(long id) {
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t nameEnd = line.rfind(')');
  return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] == 'Z';
}
#endif

}  // namespace

PrivateTempFolder::PrivateTempFolder() {
  if (const char* saved = std::getenv(kTempVariable)) {
    hadSaved_ = true;
    saved_ = saved;
  }
  SetVariable(path());
}

PrivateTempFolder::~PrivateTempFolder() {
  if (hadSaved_) {
    SetVariable(saved_);
  } else {
    UnsetVariable();
  }
}

std::vector<std::string> PrivateTempFolder::Leftovers() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path())) {
    names.push_back(entry.path().filename().string());
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
