#include "actions/action_handlers.h"
#include "host/not_available.h"

bool ExecuteJavaScript(const std::wstring&, const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelExecuteJS"); }
bool ConfigureBridge(const std::wstring&, const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelBridge"); }
bool PostWebMessage(const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelPostMessage"); }
bool ConfigureBrowserEvent(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {
  ActionNotAvailable(L"zkTamrelOnEvent");
}
bool ConfigureDebugConsole(const std::wstring&, const std::wstring&, const std::wstring&) { ActionNotAvailable(L"zkTamrelDebugConsole"); }
bool ClearDebugConsole(const std::wstring&) { ActionNotAvailable(L"zkTamrelDebugClear"); }
