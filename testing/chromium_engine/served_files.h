#pragma once
// The files of a folder mapped to a virtual host, as the engine serves them: the URL's path
// decoded and resolved below the folder, never a file outside it.
#include <string>

namespace chromium {

struct ServedFile {
  int status = 404;  // 200, 403 (a path that would leave the folder) or 404
  std::string mimeType;
  std::string body;
};

// The file a URL path ("/dir/page.html", query and fragment allowed) names below folder (a
// Windows path). Refused with 403: a ".." segment (also percent-encoded), a segment with a
// backslash, a colon (a drive or stream) or a control character, a device name, and a file or
// folder that is a link whose target lies outside the folder. 404 when there is no such file;
// a folder serves its index.html.
ServedFile ServeFromFolder(const std::wstring& folder, const std::string& urlPath);

// The Content-Type for a file name, by its extension ("application/octet-stream" when unknown).
std::string MimeTypeOf(const std::wstring& fileName);

}  // namespace chromium
