#pragma once
// BrowserHosts: the one process-wide list of browser hosts, in order of registration. It owns
// every host; it exists from the first registration until the run-mode cleanup.
// Names are equal when they match with the ASCII letters a-z folded to A-Z; nothing else is
// folded and nothing is trimmed.
#include <memory>
#include <string>

class TTamrelEdgeBrowser;

// The first registered host of that name, or null.
TTamrelEdgeBrowser* FindBrowserHost(const std::wstring& name);
// "No WebView2 instance is attached to "<name>".", what a name without a host reports.
std::wstring NoBrowserHostMessage(const std::wstring& name);
// FindBrowserHost that raises NoBrowserHostMessage when none is found.
TTamrelEdgeBrowser& RequireBrowserHost(const std::wstring& name);
// Creates the list when it does not exist, then appends the host.
void AddBrowserHost(std::unique_ptr<TTamrelEdgeBrowser> host);

// Action 5 and the first step of action 1: removes and destroys the host of that name.
bool DestroyBrowserHost(const std::wstring& name);
// nbMessage code 2: destroys every host, last registered first.
void DestroyAllBrowserHosts();
