#pragma once
// Crossing between Wine's Windows paths and the Unix paths the browser process sees, and the
// Unix processes that run with a given argument (read from /proc through Wine's Z: drive).
#include <string>

namespace chromium {

// Unix path of a Windows path (kernel32's wine_get_unix_file_name); empty when not under Wine.
std::string UnixPath(const std::wstring& windowsPath);
// Windows path of a Unix path (wine_get_dos_file_name); empty when not under Wine.
std::wstring WindowsPath(const std::string& unixPath);
// Unix processes with exactly this argument on their command line.
int CountProcessesWithArgument(const std::string& argument);

}  // namespace chromium
