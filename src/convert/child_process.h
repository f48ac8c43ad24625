#pragma once
// Running a command as a child process and waiting for it, with a way to give up.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/system_result.h"

namespace propdesk {

// Called every few tens of milliseconds while a child runs, with the time since it started.
// Returning true ends the child. Must not throw.
using CancelCheck = std::function<bool(std::chrono::milliseconds elapsed)>;

// Starts arguments[0] (looked up on PATH when it has no slash) with arguments[1...] in a process
// group of its own, with stdinFd and stdoutFd as its standard input and output, /dev/null as its
// standard error and no other descriptor of ours. On success child holds the child's id.
SystemResult StartChild(const std::vector<std::string>& arguments, int stdinFd, int stdoutFd, pid_t& child);

struct ChildEnding {
  int waitError = 0;       // errno of a failed wait, 0 when the child was reaped
  bool cancelled = false;  // the check asked to stop and the child was ended
  int waitStatus = 0;      // as waitpid reports it, when reaped
};

// Waits for the child without time-out, asking shouldCancel (when given) while it runs. A cancel
// ends the child's group: SIGTERM, then SIGKILL after a short grace. Whatever else is left of the
// group when the child has ended is killed, so that nothing started for the command outlives it.
[[nodiscard]] ChildEnding WaitForChild(pid_t child, const CancelCheck& shouldCancel);

}  // namespace propdesk
