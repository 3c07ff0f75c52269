#include "publication.h"
#include <cerrno>
#include <cstdlib>
#include "script_line.h"

namespace runner {
namespace {
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::string At(int line, const std::string& message) { return "line " + std::to_string(line) + ": " + message; }

bool ReadInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] >= '0' && text[i] <= '9') && !(i == 0 && text[i] == '-')) return false;
  errno = 0;
  const long v = std::strtol(text.c_str(), nullptr, 10);
  if (errno != 0 || v < -100000 || v > 100000) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseHeader(const ParsedLine& line, int number, Publication& pub, std::string& error) {
  const std::string word = UpperAscii(line.name);
  if (word == "WINDOW") {
    if (line.params.size() != 3) {
      error = At(number, "Window takes 3 parameters: title, width, height");
      return false;
    }
    int w = 0, h = 0;
    if (!ReadInt(line.params[1], w) || !ReadInt(line.params[2], h) || w <= 0 || h <= 0) {
      error = At(number, "Window width and height must be whole numbers above 0");
      return false;
    }
    pub.title = line.params[0];
    pub.width = w;
    pub.height = h;
    return true;
  }
  if (word == "RECTANGLE") {
    if (line.params.size() != 5) {
      error = At(number, "Rectangle takes 5 parameters: name, left, top, width, height");
      return false;
    }
    RectangleSpec r;
    r.name = line.params[0];
    if (r.name.find_first_not_of(" \t") == std::string::npos) {
      error = At(number, "a Rectangle needs a name");
      return false;
    }
    if (!ReadInt(line.params[1], r.left) || !ReadInt(line.params[2], r.top) || !ReadInt(line.params[3], r.width) ||
        !ReadInt(line.params[4], r.height) || r.width <= 0 || r.height <= 0) {
      error = At(number, "Rectangle position and size must be whole numbers, width and height above 0");
      return false;
    }
    if (FindRectangle(pub, r.name)) {
      error = At(number, "Rectangle \"" + r.name + "\" is defined twice");
      return false;
    }
    pub.rectangles.push_back(r);
    return true;
  }
  error = At(number, "only Window and Rectangle lines may come before the first label (\"" + line.name +
                         "\" is an action: put it below :Startup)");
  return false;
}
}  // namespace

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

const RectangleSpec* FindRectangle(const Publication& publication, const std::string& name) {
  for (const auto& r : publication.rectangles)
    if (UpperAscii(r.name) == UpperAscii(name)) return &r;
  return nullptr;
}

bool ParsePublication(const std::string& input, Publication& pub, std::string& error) {
  std::string text = input;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  pub = Publication();
  const auto lines = SplitLines(text);
  std::string label;  // empty while in the header
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const ParsedLine line = ParseLine(lines[i]);
    switch (line.kind) {
      case LineKind::Blank:
      case LineKind::Comment: break;
      case LineKind::Error: error = At(number, "syntax error: " + line.error); return false;
      case LineKind::Label:
        label = UpperAscii(line.name);
        if (pub.scripts.count(label)) {
          error = At(number, "the label :" + line.name + " is used twice");
          return false;
        }
        pub.scripts[label];
        break;
      case LineKind::Action:
        if (label.empty()) {
          if (!ParseHeader(line, number, pub, error)) return false;
        } else {
          pub.scripts[label].push_back(ScriptStep{number, line.name, line.params});
        }
        break;
    }
  }
  if (!pub.scripts.count("STARTUP")) {
    error = "the publication has no :Startup label, so there is nothing to run";
    return false;
  }
  return true;
}

bool ParseScriptText(const std::string& text, std::vector<ScriptStep>& steps, std::string& error) {
  steps.clear();
  const auto lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const ParsedLine line = ParseLine(lines[i]);
    if (line.kind == LineKind::Error) {
      error = At(number, "syntax error: " + line.error);
      return false;
    }
    if (line.kind == LineKind::Label) {
      error = At(number, "a label cannot stand in an action script handed over at run time");
      return false;
    }
    if (line.kind == LineKind::Action) steps.push_back(ScriptStep{number, line.name, line.params});
  }
  return true;
}

}  // namespace runner
