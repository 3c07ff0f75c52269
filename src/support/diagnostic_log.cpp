#include "support/diagnostic_log.h"
#include <windows.h>
#include "support/buffer_text.h"
#include "support/log_write_lock.h"
#include "support/text.h"
#include "support/unique_resource.h"

namespace {
// The one environment lookup of a line: a stack buffer for the usual value, the growing
// buffer only for a longer one.
std::wstring LocalAppData() {
  wchar_t small[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", small, MAX_PATH);
  if (length < MAX_PATH) return std::wstring(small, length);
  return EnvironmentText(L"LOCALAPPDATA");
}

std::wstring WithSlash(std::wstring value) {
  if (value.empty() || value.back() != L'\\') value += L'\\';
  return value;
}

// Process-wide memory of the log writers, shared by every thread that writes.
SRWLOCK g_memoryLock = SRWLOCK_INIT;
// The LOCALAPPDATA value whose log folder could not be made: every later line for the very
// same value is dropped at once instead of walking a hopeless path again.
std::wstring* g_unmakeableFor = nullptr;
// The locale's time separator, read again when the second of the time stamp changes, so a
// changed setting shows within a second while a burst of lines asks the locale only once.
wchar_t g_separator[8] = L":";
DWORD g_separatorSecond = MAXDWORD;

bool KnownUnmakeable(const std::wstring& appData) {
  AcquireSRWLockShared(&g_memoryLock);
  const bool known = g_unmakeableFor && *g_unmakeableFor == appData;
  ReleaseSRWLockShared(&g_memoryLock);
  return known;
}

void RememberUnmakeable(const std::wstring& appData) {
  AcquireSRWLockExclusive(&g_memoryLock);
  try {
    if (!g_unmakeableFor) g_unmakeableFor = new std::wstring();  // kept for the process, never freed
    *g_unmakeableFor = appData;
  } catch (...) {
  }
  ReleaseSRWLockExclusive(&g_memoryLock);
}

void TimeSeparator(DWORD second, wchar_t (&out)[8]) {
  AcquireSRWLockExclusive(&g_memoryLock);
  if (g_separatorSecond != second) {
    wchar_t sep[8];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, 8) <= 1) lstrcpyW(sep, L":");
    lstrcpyW(g_separator, sep);
    g_separatorSecond = second;
  }
  lstrcpyW(out, g_separator);
  ReleaseSRWLockExclusive(&g_memoryLock);
}

void AppendDigits(std::wstring& line, unsigned value, int width) {
  wchar_t digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value && n < 10);
  for (int i = n; i < width; ++i) line += L'0';
  while (n) line += digits[--n];
}

// "yyyy-mm-dd hh:nn:ss.zzz" of the local time, the colons being the locale's separator.
void AppendTimestamp(std::wstring& line) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t sep[8];
  TimeSeparator(((t.wDay * 24u + t.wHour) * 60u + t.wMinute) * 60u + t.wSecond, sep);
  AppendDigits(line, t.wYear, 4);
  line += L'-';
  AppendDigits(line, t.wMonth, 2);
  line += L'-';
  AppendDigits(line, t.wDay, 2);
  line += L' ';
  AppendDigits(line, t.wHour, 2);
  line += sep;
  AppendDigits(line, t.wMinute, 2);
  line += sep;
  AppendDigits(line, t.wSecond, 2);
  line += L'.';
  AppendDigits(line, t.wMilliseconds, 3);
}

void AppendIds(std::wstring& line) {
  line += L" | PID=";
  AppendDigits(line, GetCurrentProcessId(), 1);
  line += L" | TID=";
  AppendDigits(line, GetCurrentThreadId(), 1);
  line += L" | ";
}

enum class LineForm { Ids, DependencyTag, AssetTag };

// Opens the log for appending only, with full read/write sharing. Write-data access would
// write at the handle's own offset instead of the end.
HANDLE OpenForAppending(const std::wstring& path) {
  return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Every writer appends the whole line with one WriteFile and closes, so the lines of several
// threads and processes interleave whole. The open itself is the folder test: only when it
// fails are the folders made (or found unmakeable, and remembered) and the open tried again.
void AppendLine(LineForm form, const std::wstring& text) {
  try {
    const std::wstring appData = LocalAppData();
    if (KnownUnmakeable(appData)) return;
    std::wstring folder = WithSlash(appData);
    folder += L"tamrelDesk";
    const std::wstring path = folder + L"\\tamrelDesk.log";

    std::wstring line;
    line.reserve(64 + text.size());
    AppendTimestamp(line);
    if (form == LineForm::AssetTag) {
      line += L" | WebAssets | ";
    } else {
      AppendIds(line);
      if (form == LineForm::DependencyTag) line += L"NeoBookDependency | ";
    }
    line += text;
    line += L"\r\n";
    const std::string bytes = WideToUtf8(line);

    TUniqueFile file(OpenForAppending(path));
    if (!file) {
      if (!ForceDirectories(folder)) {
        RememberUnmakeable(appData);
        return;
      }
      file.reset(OpenForAppending(path));
      if (!file) return;
    }
    DWORD written = 0;
    const TLogWriteLock lock;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  } catch (...) {
  }
}

bool IsDirectory(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::wstring LocalAppDataWithSlash() { return WithSlash(LocalAppData()); }
std::wstring LogFolder() { return LocalAppDataWithSlash() + L"tamrelDesk"; }
std::wstring LogFilePath() { return LogFolder() + L"\\tamrelDesk.log"; }

bool ForceDirectories(const std::wstring& input) {
  std::wstring path = input;
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  const size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) {
    const std::wstring parent = path.substr(0, cut);
    // Stop at a drive ("C:") or a share root; they cannot be created.
    if (!(parent.size() == 2 && parent[1] == L':') && !ForceDirectories(parent)) return false;
  }
  return CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path);
}

void WriteLog(const std::wstring& text) { AppendLine(LineForm::Ids, text); }
void WriteDependencyLog(const std::wstring& text) { AppendLine(LineForm::DependencyTag, text); }
void WriteAssetLog(const std::wstring& text) { AppendLine(LineForm::AssetTag, text); }

void LogComApartment() {
  HMODULE ole = GetModuleHandleW(L"ole32.dll");
  if (!ole) ole = LoadLibraryW(L"ole32.dll");  // stays loaded on purpose
  if (!ole) {
    WriteLog(L"COM apartment check: unable to load ole32.dll");
    return;
  }
  typedef HRESULT(WINAPI * GetApartmentTypeFn)(int*, int*);
  auto fn = reinterpret_cast<GetApartmentTypeFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoGetApartmentType")));
  if (!fn) {
    WriteLog(L"COM apartment check: CoGetApartmentType is unavailable");
    return;
  }
  int type = -1, qualifier = -1;
  const HRESULT hr = fn(&type, &qualifier);
  WriteLog(ComApartmentLine(hr, type, qualifier));
}

std::wstring ComApartmentLine(long hr, int type, int qualifier) {
  // The name follows from the type alone (the values of APTTYPE), whatever the HRESULT.
  const wchar_t* name = L"Unknown/Not initialized";
  switch (type) {
    case 0: name = L"STA"; break;
    case 1: name = L"MTA"; break;
    case 2: name = L"NA"; break;
    case 3: name = L"MAINSTA"; break;
    default: break;
  }
  return L"COM apartment: HRESULT=0x" + HexUpper8(static_cast<uint32_t>(hr)) + L", Type=" + name + L" (" +
         DecimalText(type) + L"), Qualifier=" + DecimalText(qualifier);
}
