#pragma once
// File URLs cross between the plug-in's Windows view (file:///C:/...) and the browser's Unix
// view (file:///<drive root>/...). Only the drive root is exchanged; the rest of the URL is
// kept byte for byte, so the browser's own canonical escaping shows through unchanged.
#include <string>

namespace chromium {

// The URL to give the browser for a URL the plug-in passed.
std::string ToBrowserUrl(const std::string& url);
// The URL the plug-in sees for a URL the browser reports.
std::string FromBrowserUrl(const std::string& url);

}  // namespace chromium
