// tamrel_runner: runs a publication file against the plug-in of a release folder.
//   tamrel_runner [--release <folder>] [--pictures <folder>] [--check] <publication file>
//   tamrel_runner [--release <folder>] --actions
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <cstdio>
#include <string>
#include "run_publication.h"

namespace {
void Usage() {
  std::fputs(
      "usage: tamrel_runner [--release <folder>] [--pictures <folder>] [--check] <publication file>\n"
      "  --release   folder holding zkTamrelDesk.nbp (default dist\\zkTamrelDesk)\n"
      "  --pictures  folder for the pictures of Screenshot lines (default: the current folder)\n"
      "  --check     check every script line against the plug-in's actions, run nothing\n"
      "  --actions   list the plug-in's actions with their parameter counts\n",
      stdout);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Lines end in a line feed alone: the transcript is read on Unix terminals and by tests.
  _setmode(_fileno(stdout), _O_BINARY);
  runner::RunOptions options;
  options.releaseFolder = L"dist\\zkTamrelDesk";
  options.picturesFolder = L".";
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if ((arg == L"--release" || arg == L"--pictures") && i + 1 < argc) {
      (arg == L"--release" ? options.releaseFolder : options.picturesFolder) = argv[++i];
    } else if (arg == L"--check") {
      options.checkOnly = true;
    } else if (arg == L"--actions") {
      options.listActions = true;
    } else if (!arg.empty() && arg[0] != L'-' && options.publicationFile.empty()) {
      options.publicationFile = arg;
    } else {
      Usage();
      return runner::kExitUsage;
    }
  }
  if (options.publicationFile.empty() && !options.listActions) {
    Usage();
    return runner::kExitUsage;
  }
  const int code = runner::RunPublication(options);
  std::fflush(stdout);
  // Under Wine the process-exit path can stall after the engine's threads are gone; the run is
  // over and everything is written, so end at once.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  return code;
}
