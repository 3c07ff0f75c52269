#include "test_links.h"
#include <windows.h>
#include <functional>

namespace testhost {
namespace {
typedef char*(__cdecl* UnixNameProc)(LPCWSTR);  // the result is on the process heap

std::string UnixPath(const std::wstring& path) {
  auto unixName = reinterpret_cast<UnixNameProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return std::string();
  char* name = unixName(path.c_str());
  const std::string text = name ? name : "";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return text;
}

// Runs a Unix command and waits until `done` holds (Wine does not always let the caller
// wait for a Unix process itself).
bool RunUnix(std::string command, const std::function<bool()>& done) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
  return done();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target) {
  if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && Exists(link)) return true;
  const std::string linkPath = UnixPath(link), targetPath = UnixPath(target);
  if (linkPath.empty() || targetPath.empty()) return false;
  return RunUnix("/bin/ln -s " + targetPath + " " + linkPath, [&] { return Exists(link); });
}

void RemoveDirectoryLink(const std::wstring& link) {
  if (!Exists(link) || RemoveDirectoryW(link.c_str())) return;
  const std::string linkPath = UnixPath(link);
  if (!linkPath.empty()) RunUnix("/bin/rm -f " + linkPath, [&] { return !Exists(link); });
}
}  // namespace testhost
