#pragma once
// One line of an action script, as the host's scripts write it: an action name followed by
// its parameters, each in double quotes (a double quote inside one is written twice), or a
// bare word without blanks. A line that begins with a full stop is a comment; a line that
// begins with a colon is a label that starts a named script.
#include <string>
#include <vector>

namespace runner {

enum class LineKind { Blank, Comment, Label, Action, Error };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::string name;                 // action name, or label name
  std::vector<std::string> params;  // parameter texts, quotes removed, not yet substituted
  std::string error;                // for LineKind::Error
};

ParsedLine ParseLine(const std::string& text);

// Renders an action line back as the host writes it (used in the transcript).
std::string FormatLine(const std::string& name, const std::vector<std::string>& params);

}  // namespace runner
