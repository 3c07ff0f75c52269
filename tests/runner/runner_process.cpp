#include "runner_process.h"
#include <vector>
#include "testhost/test_env.h"

namespace runnertest {

std::wstring RunnerExe() { return testhost::ExeDirectory() + L"tamrel_runner.exe"; }
std::wstring DoubleReleaseFolder() { return testhost::ExeDirectory() + L"runner-release\\double\\"; }
// Backslashes before the closing quote are doubled, or the quote would count as escaped.
std::wstring Quote(const std::wstring& text) {
  size_t trailing = 0;
  while (trailing < text.size() && text[text.size() - 1 - trailing] == L'\\') ++trailing;
  return L"\"" + text + std::wstring(trailing, L'\\') + L"\"";
}

RunnerResult RunRunner(const std::wstring& arguments) {
  RunnerResult result;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return result;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nul;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  std::wstring command = Quote(RunnerExe()) + L" " + arguments;
  std::vector<wchar_t> line(command.begin(), command.end());
  line.push_back(L'\0');
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(writeEnd);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (started) {
    // Read until the runner has ended and the pipe is drained, not until end of file: a Wine
    // service that the runner starts may inherit the pipe and keep it open.
    for (;;) {
      const bool ended = WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0;
      DWORD available = 0;
      while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
        result.output.append(buffer, got);
      }
      if (ended) break;
    }
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  } else {
    result.output = "cannot start the runner";
  }
  CloseHandle(readEnd);
  return result;
}

}  // namespace runnertest
