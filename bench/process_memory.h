#pragma once
// Resident memory of the benchmark process, for the memory counters of the benchmarks.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace propdesk::bench {

// The most memory the process has held resident so far, in MiB.
inline double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The page faults of the process so far that found the page in memory (the first touch of
// newly allocated memory among them).
inline double MinorPageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_minflt);
}

// The memory the process holds resident now, in MiB.
inline double ResidentMemoryMiB() {
  long totalPages = 0;
  long residentPages = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  const bool read = std::fscanf(statm, "%ld %ld", &totalPages, &residentPages) == 2;
  std::fclose(statm);
  return read ? static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

}  // namespace propdesk::bench
