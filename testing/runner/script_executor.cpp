#include "script_executor.h"
#include <cstdlib>
#include "page_picture.h"
#include "run_publication.h"
#include "substitution.h"
#include "testhost/test_host.h"
#include "text.h"

namespace runner {
namespace {
// Scripts may call scripts (GoSub, or an action whose event runs a script); a publication
// that keeps doing so without end stops here instead of overflowing the stack.
constexpr int kMaxDepth = 40;

std::string ShowLine(const std::string& name, const std::vector<std::string>& params) {
  std::string out = name;
  for (const auto& p : params) out += " " + Transcript::Show(p);
  return out;
}

bool IsAbsolute(const std::wstring& path) {
  return path.size() >= 2 && (path[1] == L':' || path[0] == L'\\' || path[0] == L'/');
}

void MakeFolders(const std::wstring& file) {
  for (size_t i = 3; i < file.size(); ++i)
    if (file[i] == L'\\' || file[i] == L'/') CreateDirectoryW(file.substr(0, i).c_str(), nullptr);
}
}  // namespace

ScriptExecutor::ScriptExecutor(const Publication& publication, const PublicationWindow& window, PluginSession& session,
                               Variables& variables, Transcript& transcript, std::wstring picturesFolder)
    : publication_(publication),
      window_(window),
      session_(session),
      variables_(variables),
      transcript_(transcript),
      picturesFolder_(std::move(picturesFolder)) {}

bool ScriptExecutor::Fail(const std::string& where, int line, const std::string& message, int exitCode) {
  transcript_.Error(where + " " + std::to_string(line) + ": " + message);
  if (!failed_) exitCode_ = exitCode;
  failed_ = true;
  return false;
}

bool ScriptExecutor::RunSteps(const std::vector<ScriptStep>& steps, const std::string& where) {
  for (const auto& step : steps) {
    if (failed_) return false;
    if (!RunStep(step, where)) return false;
  }
  return !failed_;
}

bool ScriptExecutor::RunStep(const ScriptStep& step, const std::string& where) {
  const std::string problem = CheckStep(step, session_.catalogue(), publication_);
  if (!problem.empty()) return Fail(where, step.line, problem, kExitPublicationError);
  ++linesRun_;
  if (const BuiltinInfo* b = FindBuiltin(step.name)) return RunBuiltin(step, *b, where);
  return RunAction(step, *session_.catalogue().Find(step.name), where);
}

bool ScriptExecutor::RunAction(const ScriptStep& step, const ActionInfo& action, const std::string& where) {
  std::vector<std::string> values;
  for (size_t i = 0; i < step.params.size(); ++i) {
    const bool namesVariable = i < action.types.size() && action.types[i] == kVariableParameter;
    values.push_back(namesVariable ? step.params[i] : Substitute(step.params[i], variables_));
    if (i < action.types.size() && action.types[i] == kRectangleParameter &&
        !FindRectangle(publication_, values.back()))
      return Fail(where, step.line, "unknown Rectangle \"" + values.back() + "\"", kExitPublicationError);
  }
  transcript_.Line(where + " " + std::to_string(step.line) + ": " + ShowLine(action.name, values));
  transcript_.Enter();
  const int32_t result = session_.Exec(action.id, values);
  transcript_.Line(std::string("-> ") + std::to_string(result) + (result == 1 ? "" : " (failed)"));
  transcript_.Leave();
  return !failed_;
}

bool ScriptExecutor::Milliseconds(const std::string& text, const std::string& where, int line, unsigned long& ms) {
  char* end = nullptr;
  ms = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || text[0] == '-' || ms > 600000)
    return Fail(where, line, "a time in whole milliseconds from 0 to 600000 was expected, not \"" + text + "\"",
                kExitRunFailed);
  return true;
}

bool ScriptExecutor::RunBuiltin(const ScriptStep& step, const BuiltinInfo& builtin, const std::string& where) {
  std::vector<std::string> values;
  for (size_t i = 0; i < step.params.size(); ++i)
    values.push_back(i == 0 && !builtin.substituteFirst ? step.params[i] : Substitute(step.params[i], variables_));
  const std::string head = where + " " + std::to_string(step.line) + ": ";
  switch (builtin.kind) {
    case Builtin::SetVar:
      transcript_.Line(head + "SetVar " + values[0] + " = " + Transcript::Show(values[1]));
      variables_.Set(values[0], values[1]);
      return true;
    case Builtin::Delay: {
      unsigned long ms = 0;
      if (!Milliseconds(values[0], where, step.line, ms)) return false;
      transcript_.Line(head + "Delay " + values[0] + " ms");
      transcript_.Enter();
      testhost::PumpUntil([this] { return failed_; }, ms);
      transcript_.Leave();
      return !failed_;
    }
    case Builtin::WaitFor: {
      unsigned long ms = 0;
      if (!Milliseconds(values[1], where, step.line, ms)) return false;
      transcript_.Line(head + "WaitFor " + values[0] + " (up to " + values[1] + " ms)");
      transcript_.Enter();
      const std::string name = values[0];
      testhost::PumpUntil([this, &name] { return failed_ || !variables_.Value(name).empty(); }, ms);
      transcript_.Leave();
      if (failed_) return false;
      if (variables_.Value(name).empty())
        return Fail(where, step.line, "WaitFor " + name + ": still empty after " + values[1] + " ms", kExitRunFailed);
      return true;
    }
    case Builtin::Expect:
      if (!MatchesExpected(values[0], values[1]))
        return Fail(where, step.line,
                    "Expect " + step.params[0] + " failed: it is " + Transcript::Show(values[0]) + ", expected " +
                        Transcript::Show(values[1]),
                    kExitRunFailed);
      ++expectationsHeld_;
      transcript_.Line(head + "Expect " + step.params[0] + " = " + Transcript::Show(values[1]) + ": holds");
      return true;
    case Builtin::Screenshot: {
      const HWND rectangle = window_.Rectangle(values[0]);
      if (!rectangle) return Fail(where, step.line, "unknown Rectangle \"" + values[0] + "\"", kExitPublicationError);
      std::wstring file = WideFromUtf8(values[1]);
      if (!IsAbsolute(file)) file = picturesFolder_ + file;
      MakeFolders(file);
      const std::string problem = SavePagePicture(rectangle, file);
      if (!problem.empty())
        return Fail(where, step.line, "Screenshot of \"" + values[0] + "\": " + problem, kExitRunFailed);
      transcript_.Line(head + "Screenshot of \"" + values[0] + "\" written to " + Utf8FromWide(file));
      return true;
    }
    case Builtin::GoSub: {
      const auto it = publication_.scripts.find(UpperAscii(values[0]));
      if (it == publication_.scripts.end())
        return Fail(where, step.line, "GoSub to a label the publication does not have: :" + values[0],
                    kExitPublicationError);
      if (depth_ >= kMaxDepth)
        return Fail(where, step.line, "scripts call each other more than " + std::to_string(kMaxDepth) + " deep",
                    kExitRunFailed);
      transcript_.Line(head + "GoSub :" + values[0]);
      transcript_.Enter();
      ++depth_;
      const bool ok = RunSteps(it->second, "line");
      --depth_;
      transcript_.Leave();
      return ok;
    }
    case Builtin::None: break;
  }
  return true;
}

void ScriptExecutor::RunHandedScript(const std::string& script) {
  if (failed_) {
    transcript_.Line("the plug-in runs a script, skipped: the run has already failed");
    return;
  }
  transcript_.Line("the plug-in runs a script: " + Transcript::Show(script));
  std::vector<ScriptStep> steps;
  std::string error;
  if (!ParseScriptText(script, steps, error)) {
    transcript_.Error("in the script the plug-in ran: " + error);
    failed_ = true;
    exitCode_ = kExitPublicationError;
    return;
  }
  if (depth_ >= kMaxDepth) {
    transcript_.Error("scripts call each other more than " + std::to_string(kMaxDepth) + " deep");
    failed_ = true;
    exitCode_ = kExitRunFailed;
    return;
  }
  transcript_.Enter();
  ++depth_;
  RunSteps(steps, "script line");
  --depth_;
  transcript_.Leave();
}

}  // namespace runner
