#pragma once
// Checks the diagnostic log's form: every physical line starts with a time stamp and the fixed
// fields of one of the three writers, carries the ids of the writing process and thread, is
// valid UTF-8 and ends with CR LF. A text that itself carried CR LF continues on a line that
// starts with `continuationMark`; any other line is a broken or merged one.
#include <windows.h>
#include <string>

namespace soak {
struct TLogForm {
  DWORD processId = 0;
  DWORD threadId = 0;
  std::string timeSeparator = ":";  // the user's locale, UTF-8
  std::string continuationMark;     // UTF-8; empty: no continuation line is allowed
};

// The form of this process and thread, with the continuation mark given as ANSI text.
TLogForm CurrentLogForm(char ansiContinuationMark);

// Empty when `bytes` are a well-formed log; else what is wrong and at which line (1-based).
std::string FirstLogFault(const std::string& bytes, const TLogForm& form);
}  // namespace soak
