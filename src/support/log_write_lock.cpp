#include "support/log_write_lock.h"
#include <windows.h>
#include "support/unique_resource.h"

namespace {
// One word per session, shared by every process that writes the log: the id of the thread
// that holds the lock, or 0.
struct TSharedLockMemory {
  TUniqueFile mapping;
  TUniqueView view;
};

SRWLOCK g_openLock = SRWLOCK_INIT;
TSharedLockMemory g_memory;  // mapped on first use, unmapped when the plug-in unloads
bool g_opened = false;

volatile LONG* LockWord() {
  AcquireSRWLockExclusive(&g_openLock);
  if (!g_opened) {
    g_opened = true;  // one attempt per process
    g_memory.mapping.reset(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, L"Local\\tamrelDesk.log.write"));
    if (g_memory.mapping) g_memory.view.reset(MapViewOfFile(g_memory.mapping.get(), FILE_MAP_WRITE, 0, 0, 64));
  }
  ReleaseSRWLockExclusive(&g_openLock);
  return static_cast<volatile LONG*>(g_memory.view.get());
}

// A writer holds the lock for one write; one that has held it this long has died holding it.
constexpr DWORD kTakeOverAfterMs = 1000;
}  // namespace

TLogWriteLock::TLogWriteLock() {
  volatile LONG* word = LockWord();
  if (!word) return;
  const LONG me = static_cast<LONG>(GetCurrentThreadId());
  const DWORD start = GetTickCount();
  for (unsigned spins = 0;; ++spins) {
    const LONG holder = InterlockedCompareExchange(word, me, 0);
    if (holder == 0 ||
        (GetTickCount() - start > kTakeOverAfterMs && InterlockedCompareExchange(word, me, holder) == holder)) {
      held_ = true;
      return;
    }
    if (spins < 64)
      YieldProcessor();
    else
      Sleep(spins < 256 ? 0 : 1);
  }
}

TLogWriteLock::~TLogWriteLock() {
  if (held_)
    InterlockedCompareExchange(static_cast<volatile LONG*>(g_memory.view.get()), 0,
                               static_cast<LONG>(GetCurrentThreadId()));
}
