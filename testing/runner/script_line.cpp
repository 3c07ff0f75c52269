#include "script_line.h"

namespace runner {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '_'; }

ParsedLine Fail(const std::string& message) {
  ParsedLine line;
  line.kind = LineKind::Error;
  line.error = message;
  return line;
}
}  // namespace

ParsedLine ParseLine(const std::string& text) {
  size_t i = 0, end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  ParsedLine line;
  if (i == end) return line;
  if (text[i] == '.') {
    line.kind = LineKind::Comment;
    return line;
  }
  if (text[i] == ':') {
    size_t j = i + 1;
    if (j == end || !IsNameStart(text[j])) return Fail("a label needs a name after the colon");
    while (j < end && IsNameChar(text[j])) ++j;
    if (j != end) return Fail("a label name may hold only letters, digits and underscores");
    line.kind = LineKind::Label;
    line.name = text.substr(i + 1, end - i - 1);
    return line;
  }
  if (!IsNameStart(text[i])) return Fail("an action name must begin with a letter");
  size_t j = i;
  while (j < end && IsNameChar(text[j])) ++j;
  if (j < end && !IsBlank(text[j])) return Fail("an action name may hold only letters, digits and underscores");
  line.kind = LineKind::Action;
  line.name = text.substr(i, j - i);
  i = j;
  while (i < end) {
    while (i < end && IsBlank(text[i])) ++i;
    if (i == end) break;
    std::string param;
    if (text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < end) {
        if (text[i] == '"') {
          if (i + 1 < end && text[i + 1] == '"') {
            param += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        param += text[i++];
      }
      if (!closed) return Fail("parameter " + std::to_string(line.params.size() + 1) + " has no closing double quote");
      if (i < end && !IsBlank(text[i]))
        return Fail("parameter " + std::to_string(line.params.size() + 1) +
                    " is followed by text after its closing double quote (a double quote inside a parameter is "
                    "written twice)");
    } else {
      while (i < end && !IsBlank(text[i])) {
        if (text[i] == '"')
          return Fail("parameter " + std::to_string(line.params.size() + 1) +
                      " has a double quote inside a word; put the whole parameter in double quotes");
        param += text[i++];
      }
    }
    line.params.push_back(param);
  }
  return line;
}

std::string FormatLine(const std::string& name, const std::vector<std::string>& params) {
  std::string out = name;
  for (const auto& p : params) {
    out += " \"";
    for (char c : p) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

}  // namespace runner
