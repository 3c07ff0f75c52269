#include "actions/component_scripts.h"

#include "support/text.h"

namespace {

constexpr size_t kMaxContainerIdLength = 128;

bool IsContainerIdChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-' ||
         c == L':';
}

}  // namespace

bool IsValidContainerId(const std::wstring& id) {
  if (id.empty() || id.size() > kMaxContainerIdLength) return false;
  for (wchar_t c : id) {
    if (!IsContainerIdChar(c)) return false;
  }
  return true;
}

// Each script is one line: its pieces joined with nothing between them.
std::wstring BuildTabulatorScript(const std::wstring& id, const std::wstring& configJson) {
  return std::wstring(
             L"(function(){if(typeof window.Tabulator!==\"function\")return \"ERROR: Tabulator library not "
             L"loaded\";var el=document.getElementById(\"") +
         id + L"\");if(!el)return \"ERROR: container not found\";" +
         L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.tables=window.tamrelDesk.tables||{};" +
         L"if(window.tamrelDesk.tables[\"" + id + L"\"]){window.tamrelDesk.tables[\"" + id + L"\"].destroy();}" +
         L"window.tamrelDesk.tables[\"" + id + L"\"]=new window.Tabulator(el," + configJson +
         L");return \"OK:Tabulator\";})()";
}

std::wstring BuildQuillScript(const std::wstring& id, const std::wstring& optionsJson) {
  const std::wstring options = Trim(optionsJson).empty() ? std::wstring(L"{}") : optionsJson;
  return std::wstring(
             L"(function(){if(typeof window.Quill!==\"function\")return \"ERROR: Quill library not loaded\";var "
             L"el=document.getElementById(\"") +
         id + L"\");if(!el)return \"ERROR: container not found\";" +
         L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.editors=window.tamrelDesk.editors||{};" +
         L"if(window.tamrelDesk.editors[\"" + id + L"\"]){el.innerHTML=\"\";}" + L"var opts=" + options + L";" +
         L"window.tamrelDesk.editors[\"" + id + L"\"]=new window.Quill(el,opts);return \"OK:Quill\";})()";
}

std::wstring BuildEChartsScript(const std::wstring& id, const std::wstring& optionJson) {
  return std::wstring(
             L"(function(){if(!window.echarts)return \"ERROR: ECharts library not loaded\";var "
             L"el=document.getElementById(\"") +
         id + L"\");if(!el)return \"ERROR: container not found\";" +
         L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.charts=window.tamrelDesk.charts||{};" +
         L"var chart=window.tamrelDesk.charts[\"" + id + L"\"];if(chart){chart.dispose();}" +
         L"chart=window.echarts.init(el);chart.setOption(" + optionJson + L",true);" + L"window.tamrelDesk.charts[\"" +
         id + L"\"]=chart;" +
         L"if(!window.tamrelDesk.resizeBound){window.addEventListener(\"resize\",function(){Object.keys(window."
         L"tamrelDesk.charts||{}).forEach(function(k){window.tamrelDesk.charts[k].resize();});});window.tamrelDesk."
         L"resizeBound=true;}" +
         L"return \"OK:ECharts\";})()";
}
