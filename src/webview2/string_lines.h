#pragma once
// A list of text lines set from and read back as one text (the browser control's InitScript).
#include <string>
#include <vector>

class TStringLines {
 public:
  // Splits at every CR, LF or CR LF pair (LF followed by CR is two breaks). A break at the
  // very end does not start another line.
  void SetText(const std::wstring& text);
  // Every line followed by CR LF.
  std::wstring Text() const;

  size_t Count() const { return FLines.size(); }
  const std::vector<std::wstring>& Lines() const { return FLines; }
  void Clear() { FLines.clear(); }

 private:
  std::vector<std::wstring> FLines;
};
