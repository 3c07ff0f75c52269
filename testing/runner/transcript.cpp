#include "transcript.h"
#include <cstdio>

namespace runner {
namespace {
constexpr size_t kShownCharacters = 240;

void Write(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
}  // namespace

void Transcript::Line(const std::string& text) { Write(std::string(static_cast<size_t>(depth_) * 2, ' ') + text); }

void Transcript::Error(const std::string& text) { Write("error: " + text); }

std::string Transcript::Show(const std::string& value) {
  std::string out = "\"";
  size_t shown = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (shown >= kShownCharacters && (c & 0xC0) != 0x80) {
      out += "\"... (" + std::to_string(value.size()) + " bytes)";
      return out;
    }
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += static_cast<char>(c);
    }
    if ((c & 0xC0) != 0x80) ++shown;
  }
  return out + "\"";
}

}  // namespace runner
