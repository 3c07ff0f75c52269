// Action 25: serve a local web-app folder from a virtual https origin, so that ES modules,
// fetch() and workers work as they do on a web server (they do not from file: URLs). The
// checks and messages follow the folder load of action 18; the folder is mapped to
// https://<host>/ and the start page opened below it. Like every navigation it waits as the
// pending one until the browser is ready.
#include <windows.h>
#include <string>
#include "actions/action_handlers.h"
#include "actions/served_origin.h"
#include "actions/start_page.h"
#include "browser/browser_registry.h"
#include "browser/tamrel_edge_browser.h"
#include "host/report_error.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "support/text.h"

namespace {
// The folder as the mapping gets it: no trailing separator except after a drive's root.
std::wstring WithoutTrailingSeparator(std::wstring folder) {
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The page's path below the folder, or empty when the page does not lie below it. Windows
// compares paths without regard to case.
std::wstring PathBelow(const std::wstring& folder, const std::wstring& page) {
  std::wstring prefix = folder;
  if (prefix.empty() || !IsSeparator(prefix.back())) prefix += L'\\';
  if (page.size() <= prefix.size()) return std::wstring();
  if (CompareStringOrdinal(page.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                           static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
    return std::wstring();
  return page.substr(prefix.size());
}
}  // namespace

bool ServeLocalWebApp(const std::wstring& name, const std::wstring& folder, const std::wstring& startPage,
                      const std::wstring& hostName) {
  return RunGuarded([&] {
    // Everything about the folder is checked before the Rectangle, as for a loaded folder.
    const std::wstring fullFolder = WithoutTrailingSeparator(FullPath(Trim(folder)));
    if (fullFolder.size() > kMaxServedFolderLength)
      Fail(L"Served web application folder path is too long (" + std::to_wstring(fullFolder.size()) +
           L" characters; a served folder takes at most " + std::to_wstring(kMaxServedFolderLength) + L"): " +
           fullFolder);
    if (!DirectoryExistsAt(fullFolder)) Fail(L"Served web application folder was not found: " + fullFolder);
    std::wstring page = Trim(startPage);
    if (page.empty()) page = L"index.html";
    if (HasInvalidPathCharacters(page)) Fail(L"Invalid characters in path");
    page = FullPath(StartPagePath(fullFolder, page));
    const std::wstring below = PathBelow(fullFolder, page);
    if (below.empty()) Fail(L"Served web application entry page is outside the served folder: " + page);
    if (!FileExistsAt(page)) Fail(L"Served web application entry page was not found: " + page);

    std::wstring host = DefaultServedHostName(name);
    if (!Trim(hostName).empty()) {
      host = CanonicalServedHostName(hostName);
      if (host.empty())
        Fail(L"Invalid host name for a served folder: \"" + Trim(hostName) +
             L"\". Use dot-separated labels of letters, digits and hyphens (1 to 63 characters each, not beginning "
             L"or ending with a hyphen, the last not all digits), 253 characters at most.");
    }

    TTamrelEdgeBrowser& browser = RequireBrowserHost(name);
    const std::wstring url = ServedPageURL(host, below);
    const HRESULT hr = browser.QueueServedFolder(host, fullFolder, url);
    if (FAILED(hr)) Fail(ServedFolderFailure(host, hr));
    WriteLog(L"Served web application page queued: " + url);
    WriteLog(L"Local web application served from folder: " + fullFolder + L" as https://" + host + L"/");
    return true;
  });
}
