#include "support/diagnostic_log.h"
#include <windows.h>
#include <string_view>
#include "support/buffer_text.h"
#include "support/log_line.h"
#include "support/log_write_lock.h"
#include "support/text.h"
#include "support/unique_resource.h"

namespace {
// A stack buffer for the usual value, the growing buffer only for a longer one.
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

const wchar_t kFolderName[] = L"tamrelDesk";
const wchar_t kFileName[] = L"\\tamrelDesk.log";

// LOCALAPPDATA and the log's paths below it, from that one lookup; on the stack for the usual
// value.
class TLogPath {
 public:
  TLogPath() {
    wchar_t* at = stack_;
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", stack_, MAX_PATH);
    if (length >= MAX_PATH) {
      heap_ = EnvironmentText(L"LOCALAPPDATA");
      length = static_cast<DWORD>(heap_.size());
      heap_.resize(heap_.size() + kTail);
      at = &heap_[0];
    }
    path_ = at;
    appDataLength_ = length;
    at += length;
    if (length == 0 || at[-1] != L'\\') *at++ = L'\\';
    at = Put(at, kFolderName);
    folderLength_ = static_cast<size_t>(at - path_);
    Put(at, kFileName);
  }
  TLogPath(const TLogPath&) = delete;
  TLogPath& operator=(const TLogPath&) = delete;

  std::wstring_view AppData() const { return {path_, appDataLength_}; }
  std::wstring Folder() const { return std::wstring(path_, folderLength_); }
  const wchar_t* File() const { return path_; }

 private:
  // A backslash, the folder's and the file's names and the terminating NUL.
  static constexpr size_t kTail = 1 + (sizeof kFolderName + sizeof kFileName) / sizeof(wchar_t);

  static wchar_t* Put(wchar_t* at, const wchar_t* text) {
    while ((*at = *text++) != L'\0') ++at;
    return at;
  }

  wchar_t stack_[MAX_PATH + kTail];
  std::wstring heap_;
  const wchar_t* path_ = nullptr;
  size_t appDataLength_ = 0, folderLength_ = 0;
};

// Process-wide memory of the log writers, shared by every thread that writes: the LOCALAPPDATA
// value whose log folder could not be made. Every later line for the very same value is
// dropped at once instead of walking a hopeless path again.
SRWLOCK g_memoryLock = SRWLOCK_INIT;
std::wstring* g_unmakeableFor = nullptr;

bool KnownUnmakeable(std::wstring_view appData) {
  AcquireSRWLockShared(&g_memoryLock);
  const bool known = g_unmakeableFor && std::wstring_view(*g_unmakeableFor) == appData;
  ReleaseSRWLockShared(&g_memoryLock);
  return known;
}

void RememberUnmakeable(std::wstring_view appData) {
  AcquireSRWLockExclusive(&g_memoryLock);
  try {
    if (!g_unmakeableFor) g_unmakeableFor = new std::wstring();  // kept for the process, never freed
    g_unmakeableFor->assign(appData.data(), appData.size());
  } catch (...) {
  }
  ReleaseSRWLockExclusive(&g_memoryLock);
}

// Opens the log for appending only, with full read/write sharing. Write-data access would
// write at the handle's own offset instead of the end.
HANDLE OpenForAppending(const wchar_t* path) {
  return CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Every writer appends the whole line with one WriteFile and closes, so the lines of several
// threads and processes interleave whole. The open itself is the folder test: only when it
// fails are the folders made (or found unmakeable, and remembered) and the open tried again.
void AppendLine(TLogLineForm form, const std::wstring& text) {
  try {
    const TLogPath path;
    if (KnownUnmakeable(path.AppData())) return;
    const TLogLine line(form, text);
    TUniqueFile file(OpenForAppending(path.File()));
    if (!file) {
      if (!ForceDirectories(path.Folder())) {
        RememberUnmakeable(path.AppData());
        return;
      }
      file.reset(OpenForAppending(path.File()));
      if (!file) return;
    }
    DWORD written = 0;
    const TLogWriteLock lock;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } catch (...) {
  }
}

bool IsDirectory(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::wstring LocalAppDataWithSlash() { return WithSlash(LocalAppData()); }
std::wstring LogFolder() { return TLogPath().Folder(); }
std::wstring LogFilePath() { return TLogPath().File(); }

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

void WriteLog(const std::wstring& text) { AppendLine(TLogLineForm::Ids, text); }
void WriteDependencyLog(const std::wstring& text) { AppendLine(TLogLineForm::DependencyTag, text); }
void WriteAssetLog(const std::wstring& text) { AppendLine(TLogLineForm::AssetTag, text); }

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
