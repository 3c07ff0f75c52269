#include "log_check.h"
#include "test_env.h"
#include <cstddef>
#include <vector>

namespace soak {
namespace {
// Index just past the first invalid sequence's start, or npos when all is valid UTF-8 (no
// overlong forms, no surrogates, nothing above U+10FFFF).
size_t InvalidUtf8At(const std::string& s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    size_t extra;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07u;
    } else {
      return i;
    }
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= n || (p[i + k] & 0xC0u) != 0x80u) return i;
      cp = (cp << 6) | (p[i + k] & 0x3Fu);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return i;
    i += extra + 1;
  }
  return std::string::npos;
}

bool Digits(const std::string& s, size_t at, size_t count) {
  if (at + count > s.size()) return false;
  for (size_t i = at; i < at + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

int Number(const std::string& s, size_t at, size_t count) {
  int v = 0;
  for (size_t i = at; i < at + count; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

// Length of a time stamp "yyyy-mm-dd hh:nn:ss.zzz" at `at`, 0 when there is none.
size_t TimestampAt(const std::string& s, size_t at, const std::string& sep) {
  size_t i = at;
  if (!Digits(s, i, 4) || s.compare(i + 4, 1, "-") != 0) return 0;
  i += 5;
  if (!Digits(s, i, 2) || s.compare(i + 2, 1, "-") != 0) return 0;
  const int month = Number(s, i, 2);
  i += 3;
  if (!Digits(s, i, 2) || s.compare(i + 2, 1, " ") != 0) return 0;
  const int day = Number(s, i, 2);
  i += 3;
  if (!Digits(s, i, 2) || s.compare(i + 2, sep.size(), sep) != 0) return 0;
  const int hour = Number(s, i, 2);
  i += 2 + sep.size();
  if (!Digits(s, i, 2) || s.compare(i + 2, sep.size(), sep) != 0) return 0;
  const int minute = Number(s, i, 2);
  i += 2 + sep.size();
  if (!Digits(s, i, 2) || s.compare(i + 2, 1, ".") != 0) return 0;
  const int second = Number(s, i, 2);
  i += 3;
  if (!Digits(s, i, 3)) return 0;
  i += 3;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return 0;
  return i - at;
}

// Reads "<prefix><decimal>" at `at` into `value`; the number has no leading zero.
bool IdAt(const std::string& s, size_t& at, const char* prefix, unsigned long& value) {
  const std::string p(prefix);
  if (s.compare(at, p.size(), p) != 0) return false;
  size_t i = at + p.size(), start = i;
  value = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < 10) value = value * 10 + (s[i++] - '0');
  if (i == start || (s[start] == '0' && i - start > 1)) return false;
  at = i;
  return true;
}

// Empty when the line starts with the fields of one of the writers.
std::string HeaderFault(const std::string& line, const TLogForm& form) {
  const size_t stamp = TimestampAt(line, 0, form.timeSeparator);
  if (stamp == 0) return "no time stamp";
  size_t at = stamp;
  if (line.compare(at, 15, " | WebAssets | ") == 0) return std::string();
  unsigned long pid = 0, tid = 0;
  if (!IdAt(line, at, " | PID=", pid)) return "no process id";
  if (!IdAt(line, at, " | TID=", tid)) return "no thread id";
  if (pid != form.processId) return "process id " + std::to_string(pid) + " is not this process";
  if (tid != form.threadId) return "thread id " + std::to_string(tid) + " is not the host's thread";
  if (line.compare(at, 3, " | ") != 0) return "no separator before the text";
  return std::string();
}

// True when a second line's fields start inside this one (two lines run together).
bool HoldsAnotherHeader(const std::string& line, const TLogForm& form) {
  const size_t stamp = 21 + 2 * form.timeSeparator.size();
  for (size_t at = line.find(" | ", 1); at != std::string::npos; at = line.find(" | ", at + 1))
    if (at > stamp && TimestampAt(line, at - stamp, form.timeSeparator) == stamp) return true;
  return false;
}
}  // namespace

TLogForm CurrentLogForm(char ansiContinuationMark) {
  TLogForm form;
  form.processId = GetCurrentProcessId();
  form.threadId = GetCurrentThreadId();
  wchar_t sep[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, 8) > 1) form.timeSeparator = testhost::Utf8(sep);
  wchar_t mark = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &ansiContinuationMark, 1, &mark, 1) == 1)
    form.continuationMark = testhost::Utf8(std::wstring(1, mark));
  return form;
}

std::string FirstLogFault(const std::string& bytes, const TLogForm& form) {
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return "line 1: starts with a byte-order mark";
  size_t start = 0, number = 0;
  while (start < bytes.size()) {
    ++number;
    const std::string where = "line " + std::to_string(number) + ": ";
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return where + "partial line at the end (no CR LF)";
    const std::string line = bytes.substr(start, end - start);
    const size_t bad = InvalidUtf8At(line);
    if (bad != std::string::npos) return where + "invalid UTF-8 at byte " + std::to_string(bad);
    const bool continuation = !form.continuationMark.empty() && number > 1 &&
                              line.compare(0, form.continuationMark.size(), form.continuationMark) == 0;
    if (!continuation) {
      const std::string fault = HeaderFault(line, form);
      if (!fault.empty()) return where + fault + ": " + line.substr(0, 120);
    }
    if (HoldsAnotherHeader(line, form)) return where + "two lines run together: " + line.substr(0, 200);
    start = end + 2;
  }
  return std::string();
}
}  // namespace soak
