#include "host/report_error.h"
#include <new>
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "host/host_callbacks.h"
#include "support/text.h"

void ReportError(const std::wstring& message) {
  try {
    WriteLog(L"ERROR: " + message);
    SetHostVariable(L"[LastError]", message);
  } catch (...) {
  }
}

bool RunGuarded(const std::function<bool()>& body) {
  try {
    return body();
  } catch (const TamrelError& e) {
    ReportError(e.message());
  } catch (const std::bad_alloc&) {
    ReportError(L"Out of memory.");
  } catch (const std::exception& e) {
    ReportError(AnsiToWide(e.what()));
  }
  return false;
}
