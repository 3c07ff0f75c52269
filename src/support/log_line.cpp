#include "support/log_line.h"
#include <windows.h>
#include "support/ascii_copy.h"

namespace {
// The time stamp, the ids or the tag and the line break never take more than this (the
// locale's time separator has at most three characters).
constexpr size_t kFixedBytes = 128;

// The locale's time separator as UTF-8, read again when the second of the time stamp changes,
// so a changed setting shows within a second while a burst of lines asks the locale only once.
SRWLOCK g_separatorLock = SRWLOCK_INIT;
char g_separator[16] = ":";
DWORD g_separatorSecond = MAXDWORD;

void TimeSeparator(DWORD second, char (&out)[16]) {
  AcquireSRWLockExclusive(&g_separatorLock);
  if (g_separatorSecond != second) {
    wchar_t wide[8];
    char utf8[16];
    int length = 0;
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, wide, 8) > 1)
      length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (length > 1)
      lstrcpyA(g_separator, utf8);
    else
      lstrcpyA(g_separator, ":");
    g_separatorSecond = second;
  }
  lstrcpyA(out, g_separator);
  ReleaseSRWLockExclusive(&g_separatorLock);
}

char* Put(char* at, const char* text) {
  while (*text) *at++ = *text++;
  return at;
}

char* PutDigits(char* at, unsigned value, int width) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value && n < 10);
  for (int i = n; i < width; ++i) *at++ = '0';
  while (n) *at++ = digits[--n];
  return at;
}

// "yyyy-mm-dd hh:nn:ss.zzz" of the local time, the colons being the locale's separator.
char* PutTimestamp(char* at) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char sep[16];
  TimeSeparator(((t.wDay * 24u + t.wHour) * 60u + t.wMinute) * 60u + t.wSecond, sep);
  at = PutDigits(at, t.wYear, 4);
  *at++ = '-';
  at = PutDigits(at, t.wMonth, 2);
  *at++ = '-';
  at = PutDigits(at, t.wDay, 2);
  *at++ = ' ';
  at = PutDigits(at, t.wHour, 2);
  at = Put(at, sep);
  at = PutDigits(at, t.wMinute, 2);
  at = Put(at, sep);
  at = PutDigits(at, t.wSecond, 2);
  *at++ = '.';
  return PutDigits(at, t.wMilliseconds, 3);
}

// The text as UTF-8 (a lone surrogate becomes U+FFFD, as the system converts it); `room`
// holds three bytes per unit, the most UTF-8 needs.
char* PutUtf8(char* at, const std::wstring& text, size_t room) {
  if (NarrowAscii(text.data(), text.size(), at)) return at + text.size();
  return at + WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), at, static_cast<int>(room),
                                  nullptr, nullptr);
}
}  // namespace

TLogLine::TLogLine(TLogLineForm form, const std::wstring& text) {
  const size_t room = 3 * text.size();
  if (kFixedBytes + room > sizeof stack_) {
    heap_.resize(kFixedBytes + room);
    data_ = &heap_[0];
  }
  char* at = PutTimestamp(data_);
  if (form == TLogLineForm::AssetTag) {
    at = Put(at, " | WebAssets | ");
  } else {
    at = Put(at, " | PID=");
    at = PutDigits(at, GetCurrentProcessId(), 1);
    at = Put(at, " | TID=");
    at = PutDigits(at, GetCurrentThreadId(), 1);
    at = Put(at, " | ");
    if (form == TLogLineForm::DependencyTag) at = Put(at, "NeoBookDependency | ");
  }
  at = PutUtf8(at, text, room);
  *at++ = '\r';
  *at++ = '\n';
  size_ = static_cast<size_t>(at - data_);
}
