#pragma once
// The publication's variables. Names are written with their square brackets ("[Answer]") or
// without them; letter case does not matter, as in the host. Values are UTF-8 text.
#include <map>
#include <optional>
#include <string>

namespace runner {

// "[Answer]", "answer" and " [ANSWER] " all give the key "ANSWER".
std::string VariableKey(const std::string& name);

class Variables {
 public:
  void Set(const std::string& name, const std::string& value);
  std::optional<std::string> Get(const std::string& name) const;
  std::string Value(const std::string& name) const { return Get(name).value_or(std::string()); }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace runner
