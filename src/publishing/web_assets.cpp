// Component lists of the web libraries that lie in "WebLibraries" beside the plug-in.
#include "publishing/web_assets.h"
#include "support/text.h"

bool IsComponentSelected(const std::wstring& components, const std::wstring& name) {
  // Each item is trimmed, so "ECharts, Quill" selects Quill too.
  const std::wstring wanted = UpperAscii(name);
  bool all = false;
  size_t start = 0;
  for (;;) {
    const size_t end = components.find_first_of(L";,", start);
    const std::wstring item =
        UpperAscii(Trim(components.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)));
    if (item == wanted) return true;
    if (item == L"ALL") all = true;
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return all;
}
