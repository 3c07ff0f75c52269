// Actions 21 to 23: build a Tabulator grid, a Quill editor or an ECharts chart in an element of
// the Rectangle's page by running one assembled script through ExecuteJavaScript (action 4).
// The ID and JSON checks come before the Rectangle is looked up; their failures are raised to
// the dispatcher, which sets "[LastError]" without a log line. Failures inside
// ExecuteJavaScript are reported there.
#include <string>
#include "actions/action_handlers.h"
#include "actions/component_scripts.h"
#include "support/errors.h"
#include "support/text.h"

namespace {
void RequireContainerId(const std::wstring& id, const wchar_t* library) {
  if (!IsValidContainerId(id))
    Fail(std::wstring(library) + L" container ID must contain only letters, digits, underscore, hyphen or colon.");
}

void RequireJson(const std::wstring& json, const wchar_t* message) {
  if (Trim(json).empty()) Fail(message);
}
}  // namespace

bool CreateTabulatorGrid(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                         const std::wstring& resultVariable) {
  RequireContainerId(id, L"Tabulator");
  RequireJson(json, L"Tabulator configuration JSON is required.");
  return ExecuteJavaScript(name, BuildTabulatorScript(id, json), resultVariable);
}

bool CreateQuillEditor(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                       const std::wstring& resultVariable) {
  RequireContainerId(id, L"Quill");
  // Empty options are allowed: the script builder puts {} in their place.
  return ExecuteJavaScript(name, BuildQuillScript(id, json), resultVariable);
}

bool CreateEChartsChart(const std::wstring& name, const std::wstring& id, const std::wstring& json,
                        const std::wstring& resultVariable) {
  RequireContainerId(id, L"ECharts");
  RequireJson(json, L"ECharts option JSON is required.");
  return ExecuteJavaScript(name, BuildEChartsScript(id, json), resultVariable);
}
