#include "catalogue.h"

namespace runner {
namespace {
const BuiltinInfo kBuiltins[] = {
    {Builtin::SetVar, "SetVar", 2, "SetVar \"[variable]\" \"text\"", false},
    {Builtin::Delay, "Delay", 1, "Delay \"milliseconds\"", true},
    {Builtin::WaitFor, "WaitFor", 2, "WaitFor \"[variable]\" \"milliseconds\"", false},
    {Builtin::Screenshot, "Screenshot", 2, "Screenshot \"Rectangle\" \"file.png\"", true},
    {Builtin::Expect, "Expect", 2, "Expect \"[variable]\" \"expected text\"", true},
    {Builtin::GoSub, "GoSub", 1, "GoSub \"Label\"", true},
};

std::string Plural(int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

// A Rectangle parameter whose text holds a variable can only be checked when it runs.
bool IsLiteral(const std::string& text) { return text.find('[') == std::string::npos; }

std::string CheckRectangle(const std::string& name, const Publication& publication) {
  if (!IsLiteral(name) || FindRectangle(publication, name)) return std::string();
  return "unknown Rectangle \"" + name + "\": the publication defines " +
         (publication.rectangles.empty() ? std::string("no Rectangle") : "only " + [&] {
           std::string names;
           for (const auto& r : publication.rectangles) names += (names.empty() ? "\"" : ", \"") + r.name + "\"";
           return names;
         }());
}
}  // namespace

const BuiltinInfo* FindBuiltin(const std::string& name) {
  for (const auto& b : kBuiltins)
    if (UpperAscii(b.name) == UpperAscii(name)) return &b;
  return nullptr;
}

void Catalogue::Add(int32_t id, const std::string& name, int32_t count, const std::vector<uint8_t>& types) {
  if (id == 0) {
    ++groups_;
    return;
  }
  actions_.push_back(ActionInfo{id, name, count, types});
}

const ActionInfo* Catalogue::Find(const std::string& name) const {
  for (const auto& a : actions_)
    if (UpperAscii(a.name) == UpperAscii(name)) return &a;
  return nullptr;
}

std::string CheckStep(const ScriptStep& step, const Catalogue& catalogue, const Publication& publication) {
  const int given = static_cast<int>(step.params.size());
  if (const BuiltinInfo* b = FindBuiltin(step.name)) {
    if (given != b->count)
      return std::string(b->name) + " takes " + Plural(b->count, "parameter") + ", not " + std::to_string(given) +
             ": " + b->usage;
    if (b->kind == Builtin::Screenshot) return CheckRectangle(step.params[0], publication);
    if (b->kind == Builtin::GoSub && IsLiteral(step.params[0]) &&
        !publication.scripts.count(UpperAscii(step.params[0])))
      return "GoSub to a label the publication does not have: :" + step.params[0];
    return std::string();
  }
  const ActionInfo* a = catalogue.Find(step.name);
  if (!a) return "unknown action \"" + step.name + "\" (neither a plug-in action nor a built-in)";
  if (given != a->count) return a->name + " takes " + Plural(a->count, "parameter") + ", not " + std::to_string(given);
  for (int i = 0; i < given && i < static_cast<int>(a->types.size()); ++i)
    if (a->types[i] == kRectangleParameter) {
      const std::string problem = CheckRectangle(step.params[i], publication);
      if (!problem.empty()) return problem;
    }
  return std::string();
}

}  // namespace runner
