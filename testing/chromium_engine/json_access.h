#pragma once
// Reading protocol messages without trusting their shape: a missing member or one of another
// type reads as empty, never as an exception or an assertion.
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace chromium {

using Json = nlohmann::json;

inline const Json& Member(const Json& object, const char* key) {
  static const Json kNothing;
  if (!object.is_object()) return kNothing;
  auto it = object.find(key);
  return it == object.end() ? kNothing : *it;
}

inline bool Has(const Json& object, const char* key) { return object.is_object() && object.contains(key); }

inline std::string Text(const Json& object, const char* key) {
  const Json& value = Member(object, key);
  return value.is_string() ? value.get<std::string>() : std::string();
}

inline int64_t Integer(const Json& object, const char* key, int64_t fallback = 0) {
  const Json& value = Member(object, key);
  return value.is_number_integer() ? value.get<int64_t>() : fallback;
}

inline bool Flag(const Json& object, const char* key) {
  const Json& value = Member(object, key);
  return value.is_boolean() && value.get<bool>();
}

}  // namespace chromium
