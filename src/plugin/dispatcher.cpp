#include "plugin/dispatcher.h"
#include <string>
#include <vector>
#include "actions/action_table.h"
#include "host/report_error.h"
#include "support/guard.h"
#include "support/text.h"

namespace {
// What reaches "[LastError]" of a failure that no handler caught (no log line).
std::wstring UncaughtMessage(const TFailure& failure) {
  if (failure.Kind == TFailureKind::Raised || failure.Kind == TFailureKind::OutOfMemory) return failure.Message;
  return L"Unexpected error in the tamrelDesk plug-in.";
}
}  // namespace

int32_t ExecuteAction(int32_t id, const char* const* params) {
  return Guarded(
      int32_t{0},
      [&]() -> int32_t {
        const TActionRow* action = FindAction(id);
        if (!action) return 0;
        // Exactly as many entries are read as the action has parameters (actions 10 to 13 have one).
        TActionArgs args;
        for (int32_t k = 0; k < action->Count; ++k)
          args[static_cast<size_t>(k)] = AnsiToWide(params ? params[k] : nullptr);
        return action->Invoke(args) ? 1 : 0;
      },
      [](const TFailure& failure) { StoreLastError(UncaughtMessage(failure)); });
}
