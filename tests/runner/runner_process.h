#pragma once
// Starts the publication runner as its own process, as an author does, and collects what it
// prints and its exit code.
#include <windows.h>
#include <string>

namespace runnertest {

struct RunnerResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;  // stdout and stderr together
};

std::wstring RunnerExe();                               // tamrel_runner.exe beside the test program
std::wstring DoubleReleaseFolder();                     // plug-in, engine double and WebLibraries side by side
RunnerResult RunRunner(const std::wstring& arguments);  // arguments after the program name
std::wstring Quote(const std::wstring& text);

}  // namespace runnertest
