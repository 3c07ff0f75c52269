#include "soak_settings.h"
#include <windows.h>

namespace soak {
uint64_t SettingOr(const char* name, uint64_t fallback) {
  char text[32] = {};
  const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  if (length == 0 || length >= sizeof text) return fallback;
  uint64_t value = 0;
  for (DWORD i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return fallback;
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  return value;
}
}  // namespace soak
