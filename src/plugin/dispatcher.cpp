#include "plugin/dispatcher.h"
#include <new>
#include <string>
#include <vector>
#include "actions/action_table.h"
#include "host/host_callbacks.h"
#include "support/errors.h"
#include "support/text.h"

namespace {
void StoreLastError(const std::wstring& message) {
  try {
    SetHostVariable(L"[LastError]", message);
  } catch (...) {
  }
}
}  // namespace

int32_t ExecuteAction(int32_t id, const char* const* params) {
  int32_t result = 0;
  try {
    const TActionRow* action = FindAction(id);
    if (!action) return 0;
    // Exactly as many entries are read as the action has parameters (actions 10 to 13 have one).
    TActionArgs args;
    args.reserve(static_cast<size_t>(action->Count) + 1);
    for (int32_t k = 0; k < action->Count; ++k) args.push_back(AnsiToWide(params ? params[k] : nullptr));
    result = action->Invoke(args) ? 1 : 0;
  } catch (const TamrelError& e) {
    StoreLastError(e.message());
    result = 0;
  } catch (const std::bad_alloc&) {
    StoreLastError(L"Out of memory.");
    result = 0;
  } catch (...) {
    StoreLastError(L"Unexpected error in the tamrelDesk plug-in.");
    result = 0;
  }
  return result;
}
