// Action 24, "tamrelPrepareAssets": registers the files of the chosen web libraries that lie
// in "WebLibraries" beside the plug-in, so that a published publication carries them.
#include <cwchar>
#include "actions/action_handlers.h"
#include "host/host_callbacks.h"
#include "publishing/web_assets.h"
#include "support/diagnostic_log.h"
#include "support/errors.h"
#include "support/file_system.h"
#include "support/module.h"
#include "support/text.h"

bool PrepareWebAssets(const std::wstring& componentsParameter, const std::wstring& resultVariable) {
  std::wstring components = UpperAscii(Trim(componentsParameter));
  const std::wstring directory = PluginDirectory();
  if (directory.empty()) Fail(L"Unable to locate the tamrelDesk plugin directory.");

  const std::wstring libraries = directory + L"WebLibraries";
  const std::wstring echarts = libraries + L"\\ECharts";
  const std::wstring theme = echarts + L"\\theme";
  const std::wstring tabulator = libraries + L"\\Tabulator";
  const std::wstring quill = libraries + L"\\Quill";
  if (components.empty()) components = L"ALL";

  bool ok = true;
  int count = 0;
  // Every step runs whatever the earlier ones gave.
  auto file = [&](const std::wstring& path) {
    if (RegisterAssetFile(path))
      ++count;
    else
      ok = false;
  };
  auto folder = [&](const std::wstring& path, bool allSubfolders) {
    ok = RegisterAssetFolder(path, L"*.js", allSubfolders, count) && ok;
  };

  const bool withECharts = IsComponentSelected(components, L"ECHARTS");
  if (withECharts) {
    file(echarts + L"\\dist\\echarts.min.js");
    folder(echarts + L"\\dist\\extension", true);
    if (DirectoryExistsAt(theme)) folder(theme, false);  // themes are optional beside ECharts
    file(echarts + L"\\LICENSE");
  }
  if (IsComponentSelected(components, L"THEMES") && !withECharts) folder(theme, false);
  if (IsComponentSelected(components, L"TABULATOR")) {
    file(tabulator + L"\\tabulator.min.js");
    file(tabulator + L"\\tabulator.min.css");
    file(tabulator + L"\\LICENSE");
  }
  if (IsComponentSelected(components, L"QUILL")) {
    file(quill + L"\\quill.js");
    file(quill + L"\\quill.bubble.css");
    file(quill + L"\\LICENSE");
  }

  const std::wstring summary = L"Registered " + DecimalText(count) + L" web asset file(s). Components=" + components;
  WriteAssetLog(summary);
  if (!resultVariable.empty()) SetHostVariable(resultVariable, summary);
  if (!ok)
    SetHostVariable(L"[LastError]", L"One or more web assets could not be registered. Check the tamrelDesk log.");
  return ok;
}
