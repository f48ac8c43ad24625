#include "command_sandbox.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace propdesk::test {

CommandSandbox::CommandSandbox() : tempFolder_(dir_.File("tmp")) {
  std::filesystem::create_directory(tempFolder_);
  std::filesystem::create_directory(dir_.File("my tools"));
  if (const char* saved = std::getenv("TMPDIR")) {
    hadTmpdir_ = true;
    savedTmpdir_ = saved;
  }
  ::setenv("TMPDIR", tempFolder_.c_str(), 1);
}

CommandSandbox::~CommandSandbox() {
  if (hadTmpdir_) {
    ::setenv("TMPDIR", savedTmpdir_.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

std::string CommandSandbox::Script(std::string_view name, std::string_view body) const {
  const std::string path = dir_.File("my tools/" + std::string(name));
  WriteFileBytes(path, "#!/bin/sh\n" + std::string(body) + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

std::vector<std::string> CommandSandbox::TempLeftovers() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(tempFolder_)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

namespace {

bool EndedNow(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t nameEnd = line.rfind(')');
  return nameEnd != std::string::npos && nameEnd + 2 < line.size() && line[nameEnd + 2] == 'Z';
}

}  // namespace

bool ProcessEnded(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!EndedNow(pid)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace propdesk::test
