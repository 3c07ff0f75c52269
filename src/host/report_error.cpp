#include "host/report_error.h"
#include "support/diagnostic_log.h"
#include "support/guard.h"
#include "host/host_callbacks.h"

void ReportError(const std::wstring& message) {
  GuardedCall([&] {
    WriteLog(L"ERROR: " + message);
    SetHostVariable(L"[LastError]", message);
  });
}

bool Refuse(const std::wstring& message) {
  ReportError(message);
  return false;
}

void StoreLastError(const std::wstring& message) {
  GuardedCall([&] { SetHostVariable(L"[LastError]", message); });
}

bool RunGuarded(const std::function<bool()>& body) {
  try {
    return body();
  } catch (...) {
    const TFailure failure = CurrentFailure();
    // What is not a standard exception is the dispatcher's to catch.
    if (failure.Kind == TFailureKind::Unknown) throw;
    ReportError(failure.Message);
  }
  return false;
}
