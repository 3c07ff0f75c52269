#pragma once
// The first step of most handlers: the Rectangle's browser host, or the report that it has
// none. Scripts hit that failure most, so it is reported without raising.
#include <functional>
#include <string>

class TTamrelEdgeBrowser;

// Runs body(host) under the handler guard when the name has a host.
bool WithBrowserHost(const std::wstring& name, const std::function<bool(TTamrelEdgeBrowser&)>& body);
