#include "process_resources.h"
#include <cstdint>

namespace soak {
namespace {
BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

void CountWithChildren(HWND window, int& count) {
  ++count;
  EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&count));  // all descendants
}

bool Ours(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  if (Ours(window)) CountWithChildren(window, *reinterpret_cast<int*>(count));
  return TRUE;
}
}  // namespace

DWORD ProcessHandleCount() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  // Wine answers 0: probe the handle values instead. They are multiples of 4 handed out lowest
  // free first, so the table ends well before a long run of free values.
  DWORD flags = 0;
  for (uintptr_t value = 4, lastUsed = 0; value < 4096 || value < lastUsed + 4096; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      lastUsed = value;
    }
  }
  return count;
}

int ProcessWindowCount() {
  int count = 0;
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
  // Message-only windows (a hidden delivery window, say) are not top-level: walk them apart.
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
    if (Ours(w)) CountWithChildren(w, count);
  return count;
}

bool operator==(const TResourceCounts& a, const TResourceCounts& b) {
  return a.heapBlocks == b.heapBlocks && a.hostBuffers == b.hostBuffers && a.handles == b.handles &&
         a.windows == b.windows;
}

std::string Describe(const TResourceCounts& c) {
  return "heap blocks " + std::to_string(c.heapBlocks) + ", host buffers " + std::to_string(c.hostBuffers) +
         ", handles " + std::to_string(c.handles) + ", windows " + std::to_string(c.windows);
}
}  // namespace soak
