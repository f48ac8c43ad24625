#pragma once
// Errors in the common layer: a call to the files or processes of the system returns a
// SystemResult, which says what the system gave as the reason, and shows nothing. Callers above
// decide what to tell the person.
namespace propdesk {

// The outcome of a call to the system: success, or the system's own error code for the failure
// (an errno value on POSIX).
struct [[nodiscard]] SystemResult {
  int systemError = 0;

  bool ok() const { return systemError == 0; }
};

// The outcome of replacing a file: as SystemResult, and whether the failure was the folder
// refusing the new file that a safe save puts beside the target (which may itself be writable).
struct [[nodiscard]] SaveResult : SystemResult {
  bool folderRefusedNewFile = false;
};

}  // namespace propdesk
