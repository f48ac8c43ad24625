// Running a command on Windows: the line goes to CreateProcessW as it stands, and the command and
// everything it starts run in one job object, which ends them all together.
#include "platform/child_process.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/windows/file_access.h"

namespace propdesk {
namespace {

using windows::Win;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLongestPause{25};
// How long the processes of an ended job may take to go before the wait for them gives up.
constexpr milliseconds kEndingGrace{2000};

int LastError() { return static_cast<int>(::GetLastError()); }

// The handle, or kNoHandle for the null that some calls give on failure.
NativeHandle Owned(HANDLE handle) { return handle ? windows::Native(handle) : kNoHandle; }

// Makes usable an inheritable handle for the file: the file's own handle when it is inheritable
// already, else a duplicate that copy keeps (and closes).
int MakeInheritable(HANDLE file, FileHandle& copy, HANDLE& usable) {
  DWORD flags = 0;
  if (::GetHandleInformation(file, &flags) && (flags & HANDLE_FLAG_INHERIT) != 0) {
    usable = file;
    return 0;
  }
  HANDLE duplicate = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &duplicate, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
    return LastError();
  }
  copy.Reset(Owned(duplicate));
  usable = duplicate;
  return 0;
}

// The child's standard input, output and error (the null device), all inheritable, and the list
// that lets it inherit these and nothing else.
class ChildStreams {
 public:
  ChildStreams() = default;
  ChildStreams(const ChildStreams&) = delete;
  ChildStreams& operator=(const ChildStreams&) = delete;
  ~ChildStreams() {
    if (attributes_) ::DeleteProcThreadAttributeList(attributes_);
  }

  int Prepare(NativeHandle input, NativeHandle output) {
    if (const int error = MakeInheritable(Win(input), copies_[0], startup_.StartupInfo.hStdInput)) return error;
    if (const int error = MakeInheritable(Win(output), copies_[1], startup_.StartupInfo.hStdOutput)) return error;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    nullDevice_.Reset(Owned(::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                             OPEN_EXISTING, 0, nullptr)));
    if (!nullDevice_.IsOpen()) return LastError();
    startup_.StartupInfo.hStdError = Win(nullDevice_.get());
    startup_.StartupInfo.cb = sizeof startup_;
    startup_.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    return LimitInheritance();
  }

  STARTUPINFOW* startup() { return &startup_.StartupInfo; }

 private:
  int LimitInheritance() {
    const STARTUPINFOW& info = startup_.StartupInfo;
    // The list must not name a handle twice, and input and output may be one file.
    inherited_ = {info.hStdInput, info.hStdError};
    if (info.hStdOutput != info.hStdInput) inherited_.push_back(info.hStdOutput);
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* const attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return LastError();
    attributes_ = attributes;
    if (!::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited_.data(),
                                     inherited_.size() * sizeof(HANDLE), nullptr, nullptr)) {
      return LastError();
    }
    startup_.lpAttributeList = attributes;
    return 0;
  }

  STARTUPINFOEXW startup_{};
  FileHandle copies_[2];
  FileHandle nullDevice_;
  std::vector<HANDLE> inherited_;
  std::vector<unsigned char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST attributes_ = nullptr;
};

// A job whose processes all end when its last handle is closed.
int CreateJob(FileHandle& job) {
  job.Reset(Owned(::CreateJobObjectW(nullptr, nullptr)));
  if (!job.IsOpen()) return LastError();
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!::SetInformationJobObject(Win(job.get()), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    return LastError();
  }
  return 0;
}

// Starts the command suspended, puts it in the job and only then lets it run, so that nothing it
// starts can escape the job.
int StartChild(std::string_view commandLine, NativeHandle input, NativeHandle output, const FileHandle& job,
               FileHandle& process) {
  ChildStreams streams;
  if (const int error = streams.Prepare(input, output)) return error;
  // CreateProcessW may write into the line, so it gets a copy of its own.
  std::wstring line = windows::Wide(commandLine);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                        streams.startup(), &started)) {
    return LastError();
  }
  process.Reset(Owned(started.hProcess));
  const FileHandle thread(Owned(started.hThread));
  if (!::AssignProcessToJobObject(Win(job.get()), started.hProcess) ||
      ::ResumeThread(started.hThread) == static_cast<DWORD>(-1)) {
    const int error = LastError();
    ::TerminateProcess(started.hProcess, 1);
    return error;
  }
  return 0;
}

// Waits until the process ends: WAIT_OBJECT_0. With a check, the waits grow to kLongestPause and
// the check is asked between them; WAIT_TIMEOUT when it asked to stop.
DWORD WaitForEnd(HANDLE process, const CancelCheck& shouldCancel) {
  if (!shouldCancel) return ::WaitForSingleObject(process, INFINITE);
  const auto start = Clock::now();
  milliseconds pause{1};
  for (;;) {
    const DWORD waited = ::WaitForSingleObject(process, static_cast<DWORD>(pause.count()));
    if (waited != WAIT_TIMEOUT) return waited;
    if (shouldCancel(std::chrono::duration_cast<milliseconds>(Clock::now() - start))) return WAIT_TIMEOUT;
    pause = std::min(pause * 2, kLongestPause);
  }
}

// Ends every process still in the job and waits, for a bounded time, until they are gone, so that
// the files they held are closed by the time the command's outcome is known.
void EndJob(HANDLE job) {
  ::TerminateJobObject(job, 1);
  const auto deadline = Clock::now() + kEndingGrace;
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
  while (::QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr) &&
         accounting.ActiveProcesses > 0 && Clock::now() < deadline) {
    ::Sleep(1);
  }
}

}  // namespace

CommandOutcome RunCommand(std::string_view commandLine, NativeHandle input, NativeHandle output,
                          const CancelCheck& shouldCancel) {
  CommandOutcome ending;
  FileHandle job;
  FileHandle process;
  ending.startError = CreateJob(job);
  if (ending.startError == 0) ending.startError = StartChild(commandLine, input, output, job, process);
  if (ending.startError != 0) return ending;

  const DWORD waited = WaitForEnd(Win(process.get()), shouldCancel);
  if (waited == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(Win(process.get()), &exitCode)) {
      ending.succeeded = exitCode == 0;
    } else {
      ending.waitError = LastError();
    }
  } else if (waited == WAIT_TIMEOUT) {
    // A console program started without a console has no gentle request to stop (no Ctrl+C can
    // reach it), so a cancel ends the job at once.
    ending.cancelled = true;
  } else {
    ending.waitError = LastError();
  }
  EndJob(Win(job.get()));
  return ending;
}

}  // namespace propdesk
