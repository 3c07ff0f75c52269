#pragma once
// Run-time handlers of actions 1 to 25, one argument per parameter of the action (the action
// table checks that). Parameters arrive as UTF-16, untrimmed.
#include <cstdint>
#include <string>

bool CreateBrowserHost(const std::wstring& name, const std::wstring& url);
bool DestroyBrowser(const std::wstring& name);
bool NavigateBrowser(const std::wstring& name, const std::wstring& url);
bool SetBrowserHTML(const std::wstring& name, const std::wstring& html);
bool ControlBrowser(const std::wstring& name, const std::wstring& command);
// Actions 10 to 13: ControlBrowser with a fixed command.
bool BrowserBack(const std::wstring& name);
bool BrowserForward(const std::wstring& name);
bool BrowserRefresh(const std::wstring& name);
bool BrowserStop(const std::wstring& name);

bool GetBrowserInfo(const std::wstring& name, const std::wstring& info, const std::wstring& variable);
bool SetBrowserZoom(const std::wstring& name, int32_t percentage);
// Action 14: the percentage text read as the host reads integers, 100 when it is none.
bool SetZoomPercentage(const std::wstring& name, const std::wstring& percentage);
bool GetBrowserZoom(const std::wstring& name, const std::wstring& variable);

bool ExecuteJavaScript(const std::wstring& name, const std::wstring& script, const std::wstring& resultVariable);
bool ConfigureBridge(const std::wstring& name, const std::wstring& variable, const std::wstring& script);
bool PostWebMessage(const std::wstring& name, const std::wstring& message);
bool ConfigureBrowserEvent(const std::wstring& name, const std::wstring& event, const std::wstring& variable,
                           const std::wstring& script);
bool ConfigureDebugConsole(const std::wstring& name, const std::wstring& variable, const std::wstring& script);
bool ClearDebugConsole(const std::wstring& name);

bool LoadLocalHTMLFile(const std::wstring& name, const std::wstring& path);
bool LoadLocalWebApp(const std::wstring& name, const std::wstring& folder, const std::wstring& startPage);
// Action 25: the folder served from https://<host>/ (host may be empty: one made for the Rectangle).
bool ServeLocalWebApp(const std::wstring& name, const std::wstring& folder, const std::wstring& startPage,
                      const std::wstring& hostName);

bool CreateTabulatorGrid(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                         const std::wstring& resultVariable);
bool CreateQuillEditor(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                       const std::wstring& resultVariable);
bool CreateEChartsChart(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                        const std::wstring& resultVariable);

// Action 24: registers the web library files beside the plug-in as publication files.
bool PrepareWebAssets(const std::wstring& components, const std::wstring& resultVariable);
