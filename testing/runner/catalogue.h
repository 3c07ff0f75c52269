#pragma once
// What the plug-in registered: its actions (learnt from the add-action calls) and the
// runner's own built-in actions, and the checks a script line must pass before it runs.
#include <cstdint>
#include <string>
#include <vector>
#include "publication.h"

namespace runner {

// Parameter-type code of a parameter that names a host variable the plug-in writes: the host
// passes such a parameter as written, without replacing variables in it.
constexpr uint8_t kVariableParameter = 6;
// Parameter-type code of a parameter that names a Rectangle.
constexpr uint8_t kRectangleParameter = 8;

struct ActionInfo {
  int32_t id = 0;
  std::string name;
  int32_t count = 0;
  std::vector<uint8_t> types;
};

enum class Builtin { None, SetVar, Delay, WaitFor, Screenshot, Expect, GoSub };

struct BuiltinInfo {
  Builtin kind;
  const char* name;
  int count;
  const char* usage;
  bool substituteFirst;  // SetVar and WaitFor name a variable in their first parameter
};

const BuiltinInfo* FindBuiltin(const std::string& name);

class Catalogue {
 public:
  // One add-action call; id 0 is a group header.
  void Add(int32_t id, const std::string& name, int32_t count, const std::vector<uint8_t>& types);
  const ActionInfo* Find(const std::string& name) const;  // letter case ignored
  int ActionCount() const { return static_cast<int>(actions_.size()); }
  const ActionInfo& At(int index) const { return actions_[static_cast<size_t>(index)]; }  // registration order
  int GroupCount() const { return groups_; }

 private:
  std::vector<ActionInfo> actions_;
  int groups_ = 0;
};

// Empty when the step may run; otherwise what is wrong with it (without the line number).
std::string CheckStep(const ScriptStep& step, const Catalogue& catalogue, const Publication& publication);

}  // namespace runner
