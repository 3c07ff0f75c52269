#pragma once
// Run-time handlers of actions 1 to 23 (action 5 is the registry's DestroyBrowserHost,
// action 24 is PrepareWebAssets). Parameters arrive as UTF-16, untrimmed.
#include <cstdint>
#include <string>

bool CreateBrowserHost(const std::wstring& name, const std::wstring& url);
bool NavigateBrowser(const std::wstring& name, const std::wstring& url);
bool SetBrowserHTML(const std::wstring& name, const std::wstring& html);
bool ControlBrowser(const std::wstring& name, const std::wstring& command);

bool GetBrowserInfo(const std::wstring& name, const std::wstring& info, const std::wstring& variable);
bool SetBrowserZoom(const std::wstring& name, int32_t percentage);
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

bool CreateTabulatorGrid(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                         const std::wstring& resultVariable);
bool CreateQuillEditor(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                       const std::wstring& resultVariable);
bool CreateEChartsChart(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                        const std::wstring& resultVariable);
