#pragma once
// Runs action script lines: the plug-in's actions through the session, the built-ins here.
// Scripts that the plug-in hands back while a line runs (or while Delay and WaitFor pump
// messages) run the same way, nested inside that line.
#include <string>
#include <vector>
#include "plugin_session.h"
#include "publication.h"
#include "publication_window.h"
#include "transcript.h"
#include "variables.h"

namespace runner {

class ScriptExecutor {
 public:
  ScriptExecutor(const Publication& publication, const PublicationWindow& window, PluginSession& session,
                 Variables& variables, Transcript& transcript, std::wstring picturesFolder);

  // False when a line failed; the message is already in the transcript.
  bool RunSteps(const std::vector<ScriptStep>& steps, const std::string& where);
  // A script text from the plug-in's run-script callback.
  void RunHandedScript(const std::string& script);

  bool failed() const { return failed_; }
  int exitCode() const { return exitCode_; }
  int linesRun() const { return linesRun_; }
  int expectationsHeld() const { return expectationsHeld_; }

 private:
  bool RunStep(const ScriptStep& step, const std::string& where);
  bool RunAction(const ScriptStep& step, const ActionInfo& action, const std::string& where);
  bool RunBuiltin(const ScriptStep& step, const BuiltinInfo& builtin, const std::string& where);
  bool Fail(const std::string& where, int line, const std::string& message, int exitCode);
  bool Milliseconds(const std::string& text, const std::string& where, int line, unsigned long& ms);

  const Publication& publication_;
  const PublicationWindow& window_;
  PluginSession& session_;
  Variables& variables_;
  Transcript& transcript_;
  std::wstring picturesFolder_;
  bool failed_ = false;
  int exitCode_ = 0;
  int depth_ = 0;
  int linesRun_ = 0;
  int expectationsHeld_ = 0;
};

}  // namespace runner
