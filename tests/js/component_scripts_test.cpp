// The component scripts as texts: the ID rule, where the ID and the JSON land, and the exact
// assembled scripts. What the scripts do in a page is tested in Chromium (components.test.mjs).
#include <gtest/gtest.h>

#include <string>

#include "actions/component_scripts.h"

namespace {

struct IdCase {
  std::wstring id;
  bool valid;
};

TEST(ContainerId, AcceptsOnlyShortAsciiNamesWithoutTrimming) {
  const IdCase cases[] = {
      {L"grid-1", true},
      {L"chart_2", true},
      {L"ns:editor", true},
      {L"AZaz09_-:", true},
      {std::wstring(128, L'x'), true},
      {std::wstring(129, L'x'), false},
      {L"", false},
      {L" grid", false},
      {L"grid ", false},
      {L"a b", false},
      {L"a.b", false},
      {L"a/b", false},
      {L"a\\b", false},
      {L"a\"b", false},
      {L"a'b", false},
      {L"a\tb", false},
      {L"caf\u00e9", false},
      {L"\uFF21", false},  // full-width A
      {std::wstring(L"a\0b", 3), false},
      {L"a<b", false},
  };
  for (const IdCase& c : cases) {
    EXPECT_EQ(IsValidContainerId(c.id), c.valid) << "id of length " << c.id.size();
  }
}

TEST(ComponentScripts, AreAssembledExactly) {
  EXPECT_EQ(
      BuildTabulatorScript(L"grid-1", L"{\"data\":[]}"),
      L"(function(){if(typeof window.Tabulator!==\"function\")return \"ERROR: Tabulator library not loaded\";"
      L"var el=document.getElementById(\"grid-1\");if(!el)return \"ERROR: container not found\";"
      L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.tables=window.tamrelDesk.tables||{};"
      L"if(window.tamrelDesk.tables[\"grid-1\"]){window.tamrelDesk.tables[\"grid-1\"].destroy();}"
      L"window.tamrelDesk.tables[\"grid-1\"]=new window.Tabulator(el,{\"data\":[]});return \"OK:Tabulator\";})()");
  EXPECT_EQ(BuildQuillScript(L"ns:editor", L"{\"theme\":\"bubble\"}"),
            L"(function(){if(typeof window.Quill!==\"function\")return \"ERROR: Quill library not loaded\";"
            L"var el=document.getElementById(\"ns:editor\");if(!el)return \"ERROR: container not found\";"
            L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.editors=window.tamrelDesk.editors||{};"
            L"if(window.tamrelDesk.editors[\"ns:editor\"]){el.innerHTML=\"\";}"
            L"var opts={\"theme\":\"bubble\"};"
            L"window.tamrelDesk.editors[\"ns:editor\"]=new window.Quill(el,opts);return \"OK:Quill\";})()");
  EXPECT_EQ(BuildEChartsScript(L"chart_2", L"{\"series\":[]}"),
            L"(function(){if(!window.echarts)return \"ERROR: ECharts library not loaded\";"
            L"var el=document.getElementById(\"chart_2\");if(!el)return \"ERROR: container not found\";"
            L"window.tamrelDesk=window.tamrelDesk||{};window.tamrelDesk.charts=window.tamrelDesk.charts||{};"
            L"var chart=window.tamrelDesk.charts[\"chart_2\"];if(chart){chart.dispose();}"
            L"chart=window.echarts.init(el);chart.setOption({\"series\":[]},true);"
            L"window.tamrelDesk.charts[\"chart_2\"]=chart;"
            L"if(!window.tamrelDesk.resizeBound){window.addEventListener(\"resize\",function(){"
            L"Object.keys(window.tamrelDesk.charts||{}).forEach(function(k){window.tamrelDesk.charts[k].resize();});});"
            L"window.tamrelDesk.resizeBound=true;}"
            L"return \"OK:ECharts\";})()");
}

TEST(ComponentScripts, InsertTheJsonExactlyAsGiven) {
  const std::wstring json = L" \r\n{\"name\":\"Zo\u00eb \U0001F600\"}\t ";
  EXPECT_NE(BuildTabulatorScript(L"g", json).find(L"new window.Tabulator(el," + json + L");"), std::wstring::npos);
  EXPECT_NE(BuildEChartsScript(L"c", json).find(L"chart.setOption(" + json + L",true);"), std::wstring::npos);
  EXPECT_NE(BuildQuillScript(L"q", json).find(L"var opts=" + json + L";"), std::wstring::npos);
}

TEST(ComponentScripts, QuillOptionsBlankAfterTrimmingBecomeAnEmptyObject) {
  for (const std::wstring& blank :
       {std::wstring(), std::wstring(L" \t\r\n"), std::wstring(L"\x01\x1F ", 3), std::wstring(1, L'\0')}) {
    EXPECT_NE(BuildQuillScript(L"q", blank).find(L"var opts={};window.tamrelDesk.editors"), std::wstring::npos);
  }
  // Code 33 and above count as text: a lone "!" reaches the page, where it fails to parse.
  EXPECT_NE(BuildQuillScript(L"q", L" ! ").find(L"var opts= ! ;"), std::wstring::npos);
}

}  // namespace
