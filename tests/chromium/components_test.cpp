// Tabulator, Quill and ECharts built through their actions in a page that loads the release
// folder's WebLibraries, checked in the page's DOM and in a picture of the page.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Components : public ChromiumTest {};

// PNG signature, then the IHDR chunk with width and height (big-endian).
bool PngSize(const std::string& png, unsigned* width, unsigned* height) {
  if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) return false;
  auto be32 = [&](size_t at) {
    return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
           static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
  };
  *width = be32(16);
  *height = be32(20);
  return true;
}

TEST_F(Components, BuiltFromJsonInThePageAndThePicture) {
  char libraries[4096] = {};
  ASSERT_GT(GetEnvironmentVariableA("TAMREL_WEB_LIBRARIES", libraries, sizeof libraries), 0u)
      << "the test command names the release folder's WebLibraries";
  std::wstring folder = WindowsPathOf(libraries);
  ASSERT_FALSE(folder.empty());
  folder = folder.substr(0, folder.find_last_of(L'\\') + 1);  // the page lies beside WebLibraries
  const std::wstring page = folder + L"chromium components " + std::to_wstring(GetCurrentProcessId()) + L".html";
  ASSERT_TRUE(testhost::WriteFileBytes(
      page,
      "<!doctype html><html><head><meta charset=utf-8><title>components</title>"
      "<link rel=stylesheet href=\"WebLibraries/Tabulator/tabulator.min.css\">"
      "<link rel=stylesheet href=\"WebLibraries/Quill/quill.bubble.css\">"
      "<script src=\"WebLibraries/Tabulator/tabulator.min.js\"></script>"
      "<script src=\"WebLibraries/Quill/quill.js\"></script>"
      "<script src=\"WebLibraries/ECharts/dist/echarts.min.js\"></script>"
      "<style>body{margin:0;font:14px sans-serif}#grid{width:620px}#editor{height:80px}"
      "#chart{width:620px;height:220px}</style></head>"
      "<body><div id=grid></div><div id=editor></div><div id=chart></div></body></html>"));
  struct Remove {
    std::wstring path;
    ~Remove() { DeleteFileW(path.c_str()); }
  } remove{page};

  AddRectangle("Blank", 640, 480);
  ReadyHost("Parts", 640, 480);
  ASSERT_TRUE(Navigated("Parts", [&] { ASSERT_EQ(ExecW(17, {L"Parts", page}), 1) << Host().Var("[LastError]"); }));
  ASSERT_EQ(Eval("Parts", "typeof Tabulator + typeof Quill + typeof echarts"), "\"functionfunctionobject\"");

  const struct {
    int action;
    const char* container;
    std::string json;
    const char* result;
  } cases[] = {
      {21, "grid",
       R"({"data":[{"name":"Ada","age":36},{"name":"Linus","age":54},{"name":"Grace","age":85}],)"
       R"("columns":[{"title":"Name","field":"name"},{"title":"Age","field":"age"}]})",
       "\"OK:Tabulator\""},
      {22, "editor", "{\"placeholder\":\"Write here\"}", "\"OK:Quill\""},
      {23, "chart",
       R"({"animation":false,"xAxis":{"type":"category","data":["a","b","c"]},"yAxis":{"type":"value"},)"
       R"("series":[{"type":"bar","data":[3,1,2]}]})",
       "\"OK:ECharts\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.container);
    const std::string variable = std::string("[built_") + c.container + "]";
    ASSERT_EQ(Exec(c.action, {"Parts", c.container, c.json, variable}), 1) << Host().Var("[LastError]");
    ASSERT_TRUE(testhost::PumpUntil([&] { return Host().HasVar(variable); }, 20000));
    EXPECT_EQ(Host().Var(variable), c.result);
  }
  // Tabulator may draw its rows a moment after it was built.
  EXPECT_TRUE(testhost::PumpUntil(
      [&] { return Eval("Parts", "document.querySelectorAll('#grid .tabulator-row').length") == "3"; }, 20000));
  EXPECT_EQ(Eval("Parts", "document.querySelector('#grid .tabulator-row').textContent.indexOf('Ada') >= 0"), "true");
  EXPECT_EQ(Eval("Parts", "document.querySelector('#editor .ql-editor').getAttribute('data-placeholder')"),
            "\"Write here\"");
  EXPECT_EQ(Eval("Parts", "!!document.querySelector('#chart canvas') && "
                          "echarts.getInstanceByDom(document.getElementById('chart')).getOption().series[0].data.length"),
            "3");

  // The picture has the browser's size and holds far more than an empty page does.
  TempFolder pictures;
  const std::wstring built = pictures.path() + L"components.png", blank = pictures.path() + L"blank.png";
  ASSERT_EQ(engine::CapturePng(Host().rectangles["Parts"], built), S_OK);
  const std::string png = testhost::ReadFileBytes(built);
  unsigned width = 0, height = 0;
  ASSERT_TRUE(PngSize(png, &width, &height));
  EXPECT_EQ(width, 640u);
  EXPECT_EQ(height, 480u);
  ASSERT_EQ(Exec(1, {"Blank", ""}), 1);
  created_.push_back("Blank");
  ASSERT_TRUE(WaitReady("Blank"));
  ASSERT_EQ(Eval("Blank", "1"), "1");
  ASSERT_EQ(engine::CapturePng(Host().rectangles["Blank"], blank), S_OK);
  const std::string empty = testhost::ReadFileBytes(blank);
  ASSERT_TRUE(PngSize(empty, &width, &height));
  EXPECT_GT(png.size(), empty.size() * 4) << "components " << png.size() << " bytes, empty page " << empty.size();
  EXPECT_EQ(engine::CapturePng(GetDesktopWindow(), built), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
}

}  // namespace
}  // namespace chromiumtest
