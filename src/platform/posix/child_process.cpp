#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/posix/command_splitter.h"

extern char** environ;

namespace propdesk {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLongestPause{25};
constexpr milliseconds kTerminateGrace{500};

class SpawnSetup {
 public:
  SpawnSetup() {
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
  ~SpawnSetup() {
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
  }

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

enum class WaitResult { Reaped, Running, Failed };

// One waitpid, repeated when a signal interrupts it. A failure leaves its errno in ending.
WaitResult Reap(pid_t child, int options, CommandOutcome& ending) {
  for (;;) {
    int status = 0;
    const pid_t reaped = ::waitpid(child, &status, options);
    if (reaped == child) {
      ending.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      return WaitResult::Reaped;
    }
    if (reaped == 0) return WaitResult::Running;
    if (errno != EINTR) {
      ending.waitError = errno;
      return WaitResult::Failed;
    }
  }
}

// Asks the child's group to end, forces it after the grace time, and reaps the child.
WaitResult EndGroup(pid_t child, CommandOutcome& ending) {
  ::kill(-child, SIGTERM);
  const auto deadline = Clock::now() + kTerminateGrace;
  WaitResult result;
  while ((result = Reap(child, WNOHANG, ending)) == WaitResult::Running && Clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds{10});
  }
  if (result != WaitResult::Running) return result;
  ::kill(-child, SIGKILL);
  return Reap(child, 0, ending);
}

// Sleeps for the pause, or less when the child ends first: its process descriptor, where the
// system offers one, wakes the wait at once, so that short commands are not slowed by polling.
void PauseWhileRunning(int processFd, milliseconds pause) {
  if (processFd < 0) {
    std::this_thread::sleep_for(pause);
    return;
  }
  pollfd ended{processFd, POLLIN, 0};
  ::poll(&ended, 1, static_cast<int>(pause.count()));
}

// Starts arguments[0] (looked up on PATH when it has no slash) in a process group of its own.
int StartChild(const std::vector<std::string>& arguments, int stdinFd, int stdoutFd, pid_t& child) {
  if (arguments.empty()) return ENOENT;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  SpawnSetup setup;
  int error = 0;
  const auto step = [&error](int result) {
    if (error == 0) error = result;
  };
  step(::posix_spawn_file_actions_adddup2(&setup.actions, stdinFd, STDIN_FILENO));
  step(::posix_spawn_file_actions_adddup2(&setup.actions, stdoutFd, STDOUT_FILENO));
  step(::posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0));
  step(::posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1));

  // Own process group, so that the whole command can be ended at once; the default signal
  // dispositions and an empty mask, whatever the editor uses for itself.
  sigset_t noSignals;
  sigset_t allSignals;
  sigemptyset(&noSignals);
  sigfillset(&allSignals);
  step(::posix_spawnattr_setflags(&setup.attributes,
                                  POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  step(::posix_spawnattr_setpgroup(&setup.attributes, 0));
  step(::posix_spawnattr_setsigmask(&setup.attributes, &noSignals));
  step(::posix_spawnattr_setsigdefault(&setup.attributes, &allSignals));
  if (error != 0) return error;

  return ::posix_spawnp(&child, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
}

}  // namespace

CommandOutcome RunCommand(std::string_view commandLine, NativeHandle input, NativeHandle output,
                          const CancelCheck& shouldCancel) {
  CommandOutcome ending;
  pid_t child = 0;
  ending.startError = StartChild(CommandArguments(commandLine), static_cast<int>(input), static_cast<int>(output), child);
  if (ending.startError != 0) return ending;
  const auto start = Clock::now();
  const FileHandle processFd(shouldCancel ? ::syscall(SYS_pidfd_open, child, 0) : kNoHandle);
  milliseconds pause{1};
  WaitResult result;
  while ((result = Reap(child, shouldCancel ? WNOHANG : 0, ending)) == WaitResult::Running) {
    if (shouldCancel(std::chrono::duration_cast<milliseconds>(Clock::now() - start))) {
      EndGroup(child, ending);
      ending = {.cancelled = true};
      break;
    }
    PauseWhileRunning(static_cast<int>(processFd.get()), pause);
    pause = std::min(pause * 2, kLongestPause);
  }
  ::kill(-child, SIGKILL);
  return ending;
}

}  // namespace propdesk
