#include "variables.h"

namespace runner {

std::string VariableKey(const std::string& name) {
  size_t b = 0, e = name.size();
  while (b < e && static_cast<unsigned char>(name[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(name[e - 1]) <= ' ') --e;
  if (e - b >= 2 && name[b] == '[' && name[e - 1] == ']') {
    ++b;
    --e;
  }
  std::string key = name.substr(b, e - b);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

void Variables::Set(const std::string& name, const std::string& value) { values_[VariableKey(name)] = value; }

std::optional<std::string> Variables::Get(const std::string& name) const {
  auto it = values_.find(VariableKey(name));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

}  // namespace runner
