#pragma once
// Runs a publication against the plug-in: loads it from a release folder as the host does,
// learns its actions, checks every script line, builds the window and its Rectangles, runs
// the :Startup script and every script the plug-in hands back, and ends run mode.
#include <string>

namespace runner {

enum ExitCode {
  kExitOk = 0,                // every line ran and every Expect held
  kExitRunFailed = 1,         // an Expect, WaitFor, Screenshot or GoSub failed while running
  kExitPublicationError = 2,  // the publication file cannot run: syntax, unknown action or Rectangle, count
  kExitPluginMissing = 3,     // no release folder, no plug-in in it, or the plug-in does not load
  kExitUsage = 4
};

struct RunOptions {
  std::wstring publicationFile;  // as given
  std::wstring releaseFolder;    // folder of zkTamrelDesk.nbp
  std::wstring picturesFolder;   // where relative Screenshot files go
  bool checkOnly = false;        // check the scripts against the plug-in's actions, run nothing
  bool listActions = false;      // print the plug-in's actions with their parameter counts, run nothing
};

int RunPublication(const RunOptions& options);

// Wildcard comparison of Expect: "*" in the expected text stands for any run of characters.
bool MatchesExpected(const std::string& actual, const std::string& expected);

}  // namespace runner
