#pragma once
// Base64 of protocol payloads (response bodies, screenshots).
#include <string>

namespace chromium {

std::string Base64Encode(const std::string& bytes);
std::string Base64Decode(const std::string& text);  // characters outside the alphabet are skipped

}  // namespace chromium
