#pragma once
// A publication file: the window, its Rectangles and its action scripts.
//
//   . comment
//   Window "Sales dashboard" 1000 700          title, client width and height
//   Rectangle "Dash" 0 0 1000 700              name, left, top, width, height
//   :Startup                                   the script that runs when the publication starts
//   zkTamrelCreate "Dash" ""
//   :OnAnswer                                  any further label starts a script for GoSub
//   SetVar "[Got]" "[Answer]"
//
// Window and Rectangle lines come before the first label; every line after it belongs to the
// script of the label above it.
#include <map>
#include <string>
#include <vector>

namespace runner {

struct RectangleSpec {
  std::string name;
  int left = 0, top = 0, width = 0, height = 0;
};

struct ScriptStep {
  int line = 0;  // line number in its file or script text, from 1
  std::string name;
  std::vector<std::string> params;
};

struct Publication {
  std::string title = "Publication";
  int width = 800, height = 600;
  std::vector<RectangleSpec> rectangles;
  std::map<std::string, std::vector<ScriptStep>> scripts;  // by label, upper case ("STARTUP")
};

// False with a message "line N: ..." when the text is not a publication.
bool ParsePublication(const std::string& text, Publication& publication, std::string& error);

// Lines of an action script that the plug-in hands over (no labels, no header lines).
bool ParseScriptText(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);

std::string UpperAscii(std::string text);
const RectangleSpec* FindRectangle(const Publication& publication, const std::string& name);

}  // namespace runner
