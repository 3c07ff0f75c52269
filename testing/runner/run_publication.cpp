#include "run_publication.h"
#include <windows.h>
#include <memory>
#include <stdexcept>
#include "catalogue.h"
#include "plugin_session.h"
#include "publication.h"
#include "publication_window.h"
#include "script_executor.h"
#include "testhost/test_env.h"
#include "text.h"
#include "transcript.h"
#include "variables.h"

namespace runner {
namespace {
std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return n > 0 && n < MAX_PATH * 4 ? std::wstring(buffer, n) : path;
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& file) { return file.substr(0, file.find_last_of(L"\\/") + 1); }

bool IsFolder(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Every line of every script, checked against the plug-in's actions before anything runs.
int CheckScripts(const Publication& publication, const Catalogue& catalogue, Transcript& transcript) {
  int problems = 0, lines = 0;
  for (const auto& script : publication.scripts)
    for (const auto& step : script.second) {
      ++lines;
      const std::string problem = CheckStep(step, catalogue, publication);
      if (problem.empty()) continue;
      transcript.Error("line " + std::to_string(step.line) + ": " + problem);
      ++problems;
    }
  if (problems == 0)
    transcript.Line("checked " + std::to_string(lines) + " script line(s) in " +
                    std::to_string(publication.scripts.size()) +
                    " script(s): every action is known and has its "
                    "parameters");
  return problems;
}

std::wstring PluginIn(const RunOptions& options, Transcript& transcript, int& exitCode) {
  const std::wstring release = WithBackslash(FullPath(options.releaseFolder));
  if (!IsFolder(release)) {
    transcript.Error("release folder not found: " + Utf8FromWide(release) +
                     " (bash scripts/build.sh makes dist/zkTamrelDesk/; --release names another folder)");
    exitCode = kExitPluginMissing;
    return std::wstring();
  }
  const std::wstring plugin = release + L"zkTamrelDesk.nbp";
  if (!IsFile(plugin)) {
    transcript.Error("the release folder has no plug-in: " + Utf8FromWide(plugin) + " is missing");
    exitCode = kExitPluginMissing;
    return std::wstring();
  }
  return plugin;
}

// The catalogue as an author needs it: each action with the number of its parameters.
int ListActions(const RunOptions& options, Transcript& transcript) {
  int exitCode = kExitOk;
  const std::wstring plugin = PluginIn(options, transcript, exitCode);
  if (plugin.empty()) return exitCode;
  PluginSession session(plugin, HostSide());
  session.Start();
  for (int i = 0; i < session.catalogue().ActionCount(); ++i) {
    const ActionInfo& a = session.catalogue().At(i);
    transcript.Line(a.name + " " + std::to_string(a.count));
  }
  return kExitOk;
}

int Run(const RunOptions& options, Transcript& transcript) {
  if (options.listActions) return ListActions(options, transcript);
  const std::wstring file = FullPath(options.publicationFile);
  if (!IsFile(file)) {
    transcript.Error("publication file not found: " + Utf8FromWide(file));
    return kExitPublicationError;
  }
  Publication publication;
  std::string error;
  if (!ParsePublication(testhost::ReadFileBytes(file), publication, error)) {
    transcript.Error(Utf8FromWide(file) + ": " + error);
    return kExitPublicationError;
  }
  int exitCode = kExitOk;
  const std::wstring plugin = PluginIn(options, transcript, exitCode);
  if (plugin.empty()) return exitCode;
  const std::wstring release = FolderOf(plugin);
  transcript.Line("publication " + Utf8FromWide(file));

  Variables variables;
  std::unique_ptr<PublicationWindow> window;
  ScriptExecutor* executor = nullptr;
  HostSide side;
  side.fileAdded = [&](const std::string& path) { transcript.Line("publication file registered: " + path); };
  side.variableSet = [&](const std::string& name, const std::string& value) {
    transcript.Line(name + " = " + Transcript::Show(value));
    variables.Set(name, value);
  };
  side.runScript = [&](const std::string& script) {
    if (executor) executor->RunHandedScript(script);
  };
  side.rectangle = [&](const std::string& name) -> HWND { return window ? window->Rectangle(name) : nullptr; };

  std::unique_ptr<PluginSession> session;
  try {
    session.reset(new PluginSession(plugin, side));
  } catch (const std::exception& e) {
    transcript.Error("the plug-in " + Utf8FromWide(plugin) + " could not be loaded: " + e.what());
    return kExitPluginMissing;
  }
  session->Start();
  transcript.Line("plug-in " + session->title() + " (" + session->author() +
                  "): " + std::to_string(session->catalogue().ActionCount()) + " actions in " +
                  std::to_string(session->catalogue().GroupCount()) + " groups");
  if (CheckScripts(publication, session->catalogue(), transcript) > 0) return kExitPublicationError;
  if (options.checkOnly) return kExitOk;

  window.reset(new PublicationWindow(publication));
  if (!window->ok()) {
    transcript.Error("the publication window could not be created");
    return kExitRunFailed;
  }
  for (const auto& r : publication.rectangles)
    transcript.Line("Rectangle \"" + r.name + "\" at " + std::to_string(r.left) + "," + std::to_string(r.top) + ", " +
                    std::to_string(r.width) + "x" + std::to_string(r.height));
  variables.Set("PubDir", Utf8FromWide(FolderOf(file)));
  variables.Set("PlugInDir", Utf8FromWide(release));

  ScriptExecutor run(publication, *window, *session, variables, transcript,
                     WithBackslash(FullPath(options.picturesFolder)));
  executor = &run;
  transcript.Line(":Startup");
  transcript.Enter();
  run.RunSteps(publication.scripts.at("STARTUP"), "line");
  transcript.Leave();
  transcript.Line("end of run mode (message 2)");
  session->EndRunMode();
  executor = nullptr;
  session.reset();
  window.reset();
  if (run.failed()) {
    transcript.Line("run failed after " + std::to_string(run.linesRun()) + " line(s)");
    return run.exitCode();
  }
  transcript.Line("run complete: " + std::to_string(run.linesRun()) + " line(s) ran, " +
                  std::to_string(run.expectationsHeld()) + " Expect line(s) held");
  return kExitOk;
}
}  // namespace

bool MatchesExpected(const std::string& actual, const std::string& expected) {
  // Iterative glob match with backtracking to the last star.
  size_t a = 0, e = 0, star = std::string::npos, mark = 0;
  while (a < actual.size()) {
    if (e < expected.size() && expected[e] == '*') {
      star = e++;
      mark = a;
    } else if (e < expected.size() && expected[e] == actual[a]) {
      ++a;
      ++e;
    } else if (star != std::string::npos) {
      e = star + 1;
      a = ++mark;
    } else {
      return false;
    }
  }
  while (e < expected.size() && expected[e] == '*') ++e;
  return e == expected.size();
}

int RunPublication(const RunOptions& options) {
  Transcript transcript;
  try {
    return Run(options, transcript);
  } catch (const std::exception& e) {
    transcript.Error(std::string("the run stopped: ") + e.what());
    return kExitRunFailed;
  }
}

}  // namespace runner
