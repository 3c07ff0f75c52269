#include "plugin/dispatcher.h"
#include <windows.h>
#include <string>
#include <vector>
#include "actions/action_table.h"
#include "host/report_error.h"
#include "support/guard.h"
#include "support/text.h"

namespace {
// The arguments of a call keep their strings' memory for the next call at the same depth, so
// an action's texts cost no heap block once texts of their length have been seen. A call
// made while another runs (an action script that the host runs from within a callback) takes
// the next depth; a call from another thread than the first caller's, or nested deeper, gets
// arguments of its own.
constexpr int kPooledDepths = 4;
// Memory beyond this is not kept (a page's HTML may be megabytes).
constexpr size_t kKeptArgument = 64 * 1024;
TActionArgs g_pooledArgs[kPooledDepths];
int g_depth = 0;
DWORD g_poolThread = 0;

class TCallArgs {
 public:
  TCallArgs() {
    if (!g_poolThread) g_poolThread = GetCurrentThreadId();
    pooled_ = g_poolThread == GetCurrentThreadId() && g_depth < kPooledDepths;
    args_ = pooled_ ? &g_pooledArgs[g_depth++] : &own_;
  }
  ~TCallArgs() {
    if (!pooled_) return;
    for (std::wstring& arg : *args_)
      if (arg.capacity() > kKeptArgument) std::wstring().swap(arg);
    --g_depth;
  }
  TCallArgs(const TCallArgs&) = delete;
  TCallArgs& operator=(const TCallArgs&) = delete;

  TActionArgs& args() { return *args_; }

 private:
  bool pooled_ = false;
  TActionArgs own_;
  TActionArgs* args_ = nullptr;
};

// What reaches "[LastError]" of a failure that no handler caught (no log line).
std::wstring UncaughtMessage(const TFailure& failure) {
  if (failure.Kind == TFailureKind::Raised || failure.Kind == TFailureKind::OutOfMemory) return failure.Message;
  return L"Unexpected error in the tamrelDesk plug-in.";
}
}  // namespace

void ReleaseKeptArguments() {
  // A call may still be running (run mode can end from within an action's script): its depth
  // and those below it stay.
  for (int depth = g_depth; depth < kPooledDepths; ++depth)
    for (std::wstring& arg : g_pooledArgs[depth]) std::wstring().swap(arg);
}

int32_t ExecuteAction(int32_t id, const char* const* params) {
  return Guarded(
      int32_t{0},
      [&]() -> int32_t {
        const TActionRow* action = FindAction(id);
        if (!action) return 0;
        // Exactly as many entries are read as the action has parameters (actions 10 to 13 have one).
        TCallArgs call;
        TActionArgs& args = call.args();
        for (int32_t k = 0; k < action->Count; ++k)
          AnsiToWideInto(params ? params[k] : nullptr, args[static_cast<size_t>(k)]);
        return action->Invoke(args) ? 1 : 0;
      },
      [](const TFailure& failure) { StoreLastError(UncaughtMessage(failure)); });
}
