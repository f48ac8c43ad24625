#pragma once
// Running a command as a child process and waiting for it, with a way to give up.
#include <chrono>
#include <functional>
#include <string_view>

#include "platform/file_handle.h"

namespace propdesk {

// Called every few tens of milliseconds while a child runs, with the time since it started.
// Returning true ends the child. Must not throw.
using CancelCheck = std::function<bool(std::chrono::milliseconds elapsed)>;

struct CommandOutcome {
  int startError = 0;      // the system's error when the command could not be started
  int waitError = 0;       // the system's error when its end could not be learnt
  bool cancelled = false;  // the check asked to stop and the command was ended
  bool succeeded = false;  // it ran and exited with code 0 (not ended by a signal)
};

// Runs commandLine with input and output as its standard input and output, the null device as its
// standard error and no other file of ours, and waits for it without time-out, asking shouldCancel
// (when given) while it runs. On POSIX the line is split into a program and its arguments (see
// CommandArguments); on Windows it goes to the system as it stands. The command and everything it
// starts form one group (a process group; a job object): a cancel ends the group (on POSIX gently
// first and by force after a short grace; Windows has no gentle way), and whatever is left of it
// once the command has ended is killed, so that nothing started for the command outlives it.
[[nodiscard]] CommandOutcome RunCommand(std::string_view commandLine, NativeHandle input, NativeHandle output,
                                        const CancelCheck& shouldCancel);

}  // namespace propdesk
