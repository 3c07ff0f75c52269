#pragma once
// Text at the runner's borders: publication files and the transcript are UTF-8, the plug-in
// speaks the system's ANSI code page, Windows paths are UTF-16.
#include <string>

namespace runner {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
std::string AnsiFromUtf8(const std::string& utf8);
std::string Utf8FromAnsi(const std::string& ansi);

}  // namespace runner
