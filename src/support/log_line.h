#pragma once
// One line of the log as the UTF-8 bytes that are appended. The usual line is built on the
// stack: under Wine every heap block costs more than all of the formatting.
#include <cstddef>
#include <string>

enum class TLogLineForm { Ids, DependencyTag, AssetTag };

class TLogLine {
 public:
  // The local time stamp, the form's fields, the text and CR LF.
  TLogLine(TLogLineForm form, const std::wstring& text);
  TLogLine(const TLogLine&) = delete;
  TLogLine& operator=(const TLogLine&) = delete;

  const char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  char stack_[512];
  std::string heap_;  // only for a line that may not fit on the stack
  char* data_ = stack_;
  size_t size_ = 0;
};
