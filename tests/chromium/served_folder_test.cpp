// Action 25 on the real engine: a web app whose ES module imports another module that fetches
// a JSON file runs when its folder is served from a virtual https origin, and fails when the
// same folder is loaded from file: URLs (action 18). What the origin serves stays inside the
// folder.
#include "actions/served_origin.h"
#include "chromium_fixture.h"
#include "testhost/test_links.h"

namespace chromiumtest {
namespace {

class ServedFolder : public ChromiumTest {
 protected:
  void SetUp() override {
    ReadyHost("Srv");
    ASSERT_EQ(Exec(6, {"Srv", "[served]", ""}), 1);  // the page reports through the bridge
    // The page reports what its modules did, or that its module could not be loaded.
    folder_.Write(L"app\\index.html",
                  "<!doctype html><title>served app</title><body><p id=out>waiting</p>"
                  "<script type=module src=app.js "
                  "onerror=\"window.tamrelDesk.postMessage('module blocked on ' + location.protocol)\"></script>");
    folder_.Write(L"app\\app.js",
                  "import { readItems } from './lib/items.js';\n"
                  "readItems().then(\n"
                  "  (items) => { document.getElementById('out').textContent = items.join(', ');\n"
                  "    window.tamrelDesk.postMessage('modules ran: ' + items.join(', ') + ' at ' + location.origin +\n"
                  "      (window.isSecureContext ? ' (secure)' : '')); },\n"
                  "  (error) => window.tamrelDesk.postMessage('fetch failed: ' + error.message));\n");
    folder_.Write(L"app\\lib\\items.js",
                  "export async function readItems() {\n"
                  "  const response = await fetch(new URL('../data.json', import.meta.url));\n"
                  "  if (!response.ok) throw new Error('HTTP ' + response.status);\n"
                  "  return (await response.json()).items;\n"
                  "}\n");
    folder_.Write(L"app\\data.json", "{\"items\": [\"north\", \"south\"]}");
    folder_.Write(L"secret.txt", "secret beside the folder");
    app_ = folder_.path() + L"app";
  }
  void TearDown() override {
    testhost::RemoveDirectoryLink(app_ + L"\\link.txt");
    ChromiumTest::TearDown();
  }

  // Runs `start` and waits for the page's report through the bridge.
  std::string Report(const std::function<void()>& start) {
    const size_t mark = Mark();
    start();
    std::string said;
    testhost::PumpUntil(
        [&] {
          const std::vector<std::string> sets = SetsSince("[served]", mark);
          if (!sets.empty()) said = sets.back();
          return !said.empty();
        },
        20000);
    return said.empty() ? "(no report: " + Host().Var("[LastError]") + ")" : said;
  }
  // The status and text of a fetch made by the page, as "status text".
  std::string Fetched(const std::string& url) {
    return Report([&] {
      ASSERT_EQ(Exec(4, {"Srv",
                         "fetch('" + url +
                             "').then(async (r) => window.tamrelDesk.postMessage(r.status + ' ' + await r.text()),"
                             " (e) => window.tamrelDesk.postMessage('refused ' + e))",
                         ""}),
                1);
    });
  }

  TempFolder folder_;
  std::wstring app_;
};

TEST_F(ServedFolder, ModulesAndFetchRunWhenServedAndAreBlockedFromFileUrls) {
  const std::string host = testhost::Utf8(DefaultServedHostName(L"Srv"));
  EXPECT_EQ(Report([&] {
              ASSERT_EQ(ExecW(25, {L"Srv", app_, L"", L""}), 1) << Host().Var("[LastError]");
            }),
            "modules ran: north, south at https://" + host + " (secure)");
  EXPECT_EQ(Info("Srv", "URL"), "https://" + host + "/index.html");
  EXPECT_EQ(Eval("Srv", "document.getElementById('out').textContent"), "\"north, south\"");

  // The same folder from file: URLs: the module itself is refused, nothing of it runs.
  EXPECT_EQ(Report([&] {
              ASSERT_EQ(ExecW(18, {L"Srv", app_, L""}), 1) << Host().Var("[LastError]");
            }),
            "module blocked on file:");
  EXPECT_EQ(Eval("Srv", "document.getElementById('out').textContent"), "\"waiting\"");

  // A host name of the author's own serves it as well.
  EXPECT_EQ(Report([&] {
              ASSERT_EQ(ExecW(25, {L"Srv", app_, L"index.html", L"My-App.example"}), 1);
            }),
            "modules ran: north, south at https://my-app.example (secure)");
}

TEST_F(ServedFolder, OnlyFilesOfTheFolderAreServed) {
  const bool linked = testhost::MakeDirectoryLink(app_ + L"\\link.txt", folder_.path() + L"secret.txt");
  ASSERT_EQ(Report([&] {
              ASSERT_EQ(ExecW(25, {L"Srv", app_, L"", L"files.example"}), 1);
            }),
            "modules ran: north, south at https://files.example (secure)");
  EXPECT_EQ(Fetched("/data.json"), "200 {\"items\": [\"north\", \"south\"]}");
  EXPECT_EQ(Fetched("/missing.json"), "404 404 Not Found");
  // The browser resolves dot segments, encoded ones too, before asking: they stay in the folder.
  EXPECT_EQ(Fetched("/lib/%2e%2e/%2e%2e/secret.txt"), "404 404 Not Found");
  if (linked) EXPECT_EQ(Fetched("/link.txt"), "403 403 Forbidden");

  // The served page may load a classic script of the folder; a page of another origin (here one
  // shown from a string) may not: the folder is served with access DENY.
  folder_.Write(L"app\\plain.js", "window.tamrelDesk.postMessage('plain script ran at ' + location.protocol);");
  const std::string tag =
      "<script src=\"https://files.example/plain.js\" "
      "onerror=\"window.tamrelDesk.postMessage('refused to another origin')\"></script>";
  EXPECT_EQ(Report([&] {
              ASSERT_EQ(Exec(4, {"Srv",
                                 "const s = document.createElement('script'); s.src = '/plain.js';"
                                 "document.body.appendChild(s);",
                                 ""}),
                        1);
            }),
            "plain script ran at https:");
  EXPECT_EQ(Report([&] {
              ASSERT_EQ(Exec(3, {"Srv", "<!doctype html><body>" + tag + "</body>"}), 1);
            }),
            "refused to another origin");
}

}  // namespace
}  // namespace chromiumtest
