// Action 25: serve a local web-app folder from a virtual https origin, so that ES modules,
// fetch() and workers work as they do on a web server (they do not from file: URLs). The
// checks and messages follow the folder load of action 18; the folder is mapped to
// https://<host>/ and the start page opened below it. Like every navigation it waits as the
// pending one until the browser is ready.
#include <windows.h>
#include <string>
#include "actions/action_handlers.h"
#include "actions/file_url.h"
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

const wchar_t kInvalidHostName[] =
    L"Invalid host name for a served folder (dot-separated labels of letters, digits and inner hyphens, 1 to 63 "
    L"characters each, the last not all digits; 253 at most): \"";

// "https://<host>/" and the page's path below the folder, "\\" turned into "/", encoded as in a
// file URL (a file name holds no ":").
std::wstring ServedPageURL(const std::wstring& hostName, std::wstring relativePage) {
  for (wchar_t& c : relativePage)
    if (c == L'\\') c = L'/';
  return L"https://" + hostName + L"/" + PercentEncodeUtf8(relativePage);
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
      Fail(L"Served web application folder path is longer than 259 characters: " + fullFolder);
    if (!DirectoryExistsAt(fullFolder)) Fail(L"Served web application folder was not found: " + fullFolder);
    std::wstring page = Trim(startPage);
    if (page.empty()) page = L"index.html";
    if (HasInvalidPathCharacters(page)) Fail(L"Invalid characters in path");
    page = FullPath(StartPagePath(fullFolder, page));
    const std::wstring below = PathBelow(fullFolder, page);
    if (below.empty()) Fail(L"Served web application entry page is outside the served folder: " + page);
    if (!FileExistsAt(page)) Fail(L"Served web application entry page was not found: " + page);

    const std::wstring given = Trim(hostName);
    const std::wstring host = given.empty() ? DefaultServedHostName(name) : CanonicalServedHostName(given);
    if (host.empty()) Fail(kInvalidHostName + given + L"\".");

    TTamrelEdgeBrowser& browser = RequireBrowserHost(name);
    const std::wstring url = ServedPageURL(host, below);
    const HRESULT hr = browser.QueueServedFolder(host, fullFolder, url);
    if (FAILED(hr)) Fail(ServedFolderFailure(host, hr));
    WriteLog(L"Served web application page queued: " + url);
    WriteLog(L"Local web application served from folder: " + fullFolder + L" as https://" + host + L"/");
    return true;
  });
}
