#include "support/diagnostic_log.h"
#include <windows.h>
#include <cstdio>
#include "support/buffer_text.h"
#include "support/text.h"
#include "support/unique_resource.h"

std::wstring LocalAppDataWithSlash() {
  std::wstring value = EnvironmentText(L"LOCALAPPDATA");
  if (value.empty() || value.back() != L'\\') value += L'\\';
  return value;
}

std::wstring LogFolder() { return LocalAppDataWithSlash() + L"tamrelDesk"; }
std::wstring LogFilePath() { return LogFolder() + L"\\tamrelDesk.log"; }

static bool IsDirectory(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& input) {
  std::wstring path = input;
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  const size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) {
    const std::wstring parent = path.substr(0, cut);
    // Stop at a drive ("C:") or a share root; they cannot be created.
    if (!(parent.size() == 2 && parent[1] == L':') && !IsDirectory(parent) && !ForceDirectories(parent)) return false;
  }
  return CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(path);
}

static std::wstring Timestamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t sep[8] = L":";
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, 8) <= 1) lstrcpyW(sep, L":");
  wchar_t buf[64];
  swprintf(buf, 64, L"%04u-%02u-%02u %02u%ls%02u%ls%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, sep, t.wMinute, sep,
           t.wSecond, t.wMilliseconds);
  return buf;
}

static std::wstring Ids() {
  wchar_t buf[64];
  swprintf(buf, 64, L" | PID=%lu | TID=%lu | ", static_cast<unsigned long>(GetCurrentProcessId()),
           static_cast<unsigned long>(GetCurrentThreadId()));
  return buf;
}

// Every writer opens for appending with full read/write sharing, appends one line and
// closes: lines of several writers and processes interleave whole, none is lost.
// Read access is there for the lock alone: Windows grants LockFileEx only on a handle with
// read or write data access, and write data access would end append-only writing.
static void AppendLine(const std::wstring& line) {
  try {
    if (!ForceDirectories(LogFolder())) return;
    const std::string bytes = WideToUtf8(line);
    const TUniqueFile file(CreateFileW(LogFilePath().c_str(), FILE_APPEND_DATA | GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    if (!file) return;
    const HANDLE h = file.get();
    if (!bytes.empty()) {
      // Append-only access writes at the end of the file; the exclusive lock on a range far
      // past any real end also serialises writers on systems where that append is not one
      // atomic step, so concurrent lines never overwrite each other. Writing goes on even
      // when the lock cannot be had: the line matters more than the ordering.
      OVERLAPPED region = {};
      region.Offset = 0xFFFFFFFEu;
      region.OffsetHigh = 0x7FFFFFFFu;
      const bool locked = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &region) != 0;
      DWORD written = 0;
      WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      if (locked) UnlockFileEx(h, 0, 1, 0, &region);
    }
  } catch (...) {
  }
}

void WriteLog(const std::wstring& text) {
  try {
    AppendLine(Timestamp() + Ids() + text + L"\r\n");
  } catch (...) {
  }
}

void WriteDependencyLog(const std::wstring& text) {
  try {
    AppendLine(Timestamp() + Ids() + L"NeoBookDependency | " + text + L"\r\n");
  } catch (...) {
  }
}

void WriteAssetLog(const std::wstring& text) {
  try {
    AppendLine(Timestamp() + L" | WebAssets | " + text + L"\r\n");
  } catch (...) {
  }
}

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
  wchar_t buf[160];
  swprintf(buf, 160, L"COM apartment: HRESULT=0x%08X, Type=%ls (%d), Qualifier=%d", static_cast<unsigned>(hr), name,
           type, qualifier);
  return buf;
}
