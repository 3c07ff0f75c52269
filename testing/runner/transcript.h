#pragma once
// The run's transcript on stdout, UTF-8, one event a line, indented by script depth.
#include <string>

namespace runner {

class Transcript {
 public:
  void Line(const std::string& text);   // at the current depth
  void Error(const std::string& text);  // "error: ..." at the left margin, also on stderr-less hosts
  void Enter() { ++depth_; }
  void Leave() { --depth_; }
  // A value as it is shown: in double quotes, line breaks as \n, long texts shortened.
  static std::string Show(const std::string& value);

 private:
  int depth_ = 0;
};

}  // namespace runner
