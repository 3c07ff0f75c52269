// Actions 17 and 18: show a local HTML file, or a local web application folder through its
// start page, as a file: URL so that the page's relative references resolve against its own
// folder. Neither needs a ready browser: before creation completes the URL waits as the
// pending navigation.
#include <windows.h>
#include <string>
#include "actions/action_handlers.h"
#include "actions/browser_lookup.h"
#include "actions/file_url.h"
#include "actions/start_page.h"
#include "browser/browser_registry.h"
#include "browser/tamrel_edge_browser.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "host/report_error.h"
#include "support/text.h"

bool LoadLocalHTMLFile(const std::wstring& name, const std::wstring& path) {
  return WithBrowserHost(name, [&](TTamrelEdgeBrowser& host) {
    const std::wstring full = FullPath(Trim(path));
    if (!FileExistsAt(full)) return Refuse(L"Local HTML file was not found: " + full);
    host.QueueNavigate(PathToFileURL(full));
    WriteLog(L"Local HTML file queued: " + full);
    return true;
  });
}

bool LoadLocalWebApp(const std::wstring& name, const std::wstring& folder, const std::wstring& startPage) {
  std::wstring page;
  std::wstring fullFolder;
  // The folder and its page are checked before the Rectangle; the load itself reports its own
  // failures, so they are not reported a second time here.
  const bool checked = RunGuarded([&] {
    fullFolder = FullPath(Trim(folder));
    if (!DirectoryExistsAt(fullFolder)) return Refuse(L"Local web application folder was not found: " + fullFolder);
    page = Trim(startPage);
    if (page.empty()) page = L"index.html";
    if (HasInvalidPathCharacters(page)) return Refuse(L"Invalid characters in path");
    page = FullPath(StartPagePath(fullFolder, page));
    if (!FileExistsAt(page)) return Refuse(L"Web application entry page was not found: " + page);
    return true;
  });
  if (!checked) return false;
  if (!LoadLocalHTMLFile(name, page)) return false;
  WriteLog(L"Local web application loaded from folder: " + fullFolder);
  return true;
}
