// The external command of the converter tests, the same on every platform:
//   command_helper fail         copies its input to its output, then exits with code 1
//   command_helper hang FILE    starts a sleeping copy of itself, writes "<own id> <copy's id>" to
//                               FILE and sleeps
//   command_helper detach       starts a sleeping copy of itself, writes the copy's id and exits
//   command_helper sleep        sleeps
// A sleep lasts a minute at most, so that nothing a failed test leaves behind lingers.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <spawn.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>

#ifndef _WIN32
extern char** environ;
#endif

namespace {

long OwnId() {
#ifdef _WIN32
  return static_cast<long>(::GetCurrentProcessId());
#else
  return static_cast<long>(::getpid());
#endif
}

// Starts "<this program> sleep", which inherits what this process may hand on (its standard
// streams among them), and returns its id; 0 when it could not be started.
long StartSleepingCopy() {
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return 0;
  std::wstring line = L"\"" + std::wstring(self) + L"\" sleep";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) return 0;
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return static_cast<long>(started.dwProcessId);
#else
  char self[] = "/proc/self/exe";
  char sleep[] = "sleep";
  char* arguments[] = {self, sleep, nullptr};
  pid_t child = 0;
  return ::posix_spawn(&child, self, nullptr, nullptr, arguments, environ) == 0 ? static_cast<long>(child) : 0;
#endif
}

void Sleep() { std::this_thread::sleep_for(std::chrono::minutes(1)); }

int CopyInputAndFail() {
  std::ios::sync_with_stdio(false);
#ifdef _WIN32
  ::_setmode(0, _O_BINARY);
  ::_setmode(1, _O_BINARY);
#endif
  std::cout << std::cin.rdbuf();
  return 1;
}

// Writes the text to path whole: a reader polling for the file never sees part of it.
void WriteAtOnce(const std::string& path, const std::string& text) {
  std::ofstream(path + ".part", std::ios::binary) << text;
  std::filesystem::rename(path + ".part", path);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (mode == "fail") return CopyInputAndFail();
  if (mode == "sleep") {
    Sleep();
    return 0;
  }
  if (mode == "hang" && argc > 2) {
    const long copy = StartSleepingCopy();
    WriteAtOnce(argv[2], std::to_string(OwnId()) + " " + std::to_string(copy));
    Sleep();
    return 0;
  }
  if (mode == "detach") {
    std::cout << StartSleepingCopy() << std::flush;
    return 0;
  }
  std::cerr << "usage: command_helper fail | hang FILE | detach | sleep\n";
  return 2;
}
