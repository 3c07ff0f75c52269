#pragma once
// What a run can leave behind in the test process, counted from outside the plug-in.
#include <windows.h>
#include <string>

namespace soak {
struct TResourceCounts {
  int heapBlocks = 0;   // the plug-in's C run-time heap blocks
  int hostBuffers = 0;  // GlobalAlloc blocks of the plug-in nobody has freed
  DWORD handles = 0;    // kernel handles of the process
  int windows = 0;      // windows of this process: top-level, message-only and all their children
};

// The process's kernel handles (0 when the system cannot tell).
DWORD ProcessHandleCount();
// Windows of this process, top-level and message-only ones with all their descendants.
int ProcessWindowCount();

bool operator==(const TResourceCounts& a, const TResourceCounts& b);
std::string Describe(const TResourceCounts& counts);
}  // namespace soak
