// Action 24 against WebLibraries trees made here and against the release layout.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include "dependencies/web_assets.h"
#include "host/diagnostic_log.h"
#include "host/dispatcher.h"
#include "host/host_callbacks.h"
#include "host/module.h"
#include "test_env.h"
#include "test_host.h"

using testhost::CallKind;
using testhost::TestHost;

namespace {
const char kLastErrorText[] = "One or more web assets could not be registered. Check the tamrelDesk log.";

// The full fixture tree, relative to WebLibraries; the files that are not assets are there to
// show that they are left out.
const char* const kTree[] = {
    "ECharts\\dist\\echarts.min.js",  "ECharts\\dist\\extension\\bmap.js",
    "ECharts\\dist\\extension\\readme.txt", "ECharts\\dist\\extension\\nested\\deeper\\tool.JS",
    "ECharts\\theme\\dark.js",        "ECharts\\theme\\old\\retro.js",
    "ECharts\\LICENSE",               "Tabulator\\tabulator.min.js",
    "Tabulator\\tabulator.min.css",   "Tabulator\\LICENSE",
    "Quill\\quill.js",                "Quill\\quill.bubble.css",
    "Quill\\LICENSE"};

const std::vector<std::string> kECharts = {"ECharts\\dist\\echarts.min.js", "ECharts\\dist\\extension\\bmap.js",
                                           "ECharts\\dist\\extension\\nested\\deeper\\tool.JS",
                                           "ECharts\\theme\\dark.js", "ECharts\\LICENSE"};
const std::vector<std::string> kTabulator = {"Tabulator\\tabulator.min.js", "Tabulator\\tabulator.min.css",
                                             "Tabulator\\LICENSE"};
const std::vector<std::string> kQuill = {"Quill\\quill.js", "Quill\\quill.bubble.css", "Quill\\LICENSE"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
std::vector<std::string> Without(std::vector<std::string> list, const std::string& item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
  return list;
}

bool WriteTreeFile(const std::wstring& path) {
  ForceDirectories(path.substr(0, path.find_last_of(L'\\')));
  return testhost::WriteFileBytes(path, "x");
}

// A plug-in copy with a WebLibraries tree beside it, and a private log.
class AssetFolder {
 public:
  AssetFolder() : dir(testhost::MakeTempDir(L"assets")) {
    EXPECT_TRUE(CopyFileW(testhost::DefaultPluginPath().c_str(), (dir + L"zkTamrelDesk.nbp").c_str(), FALSE));
  }
  ~AssetFolder() { testhost::RemoveTree(dir); }
  std::wstring Libraries() const { return dir + L"WebLibraries\\"; }
  void LayTree() {
    for (const char* f : kTree) ASSERT_TRUE(WriteTreeFile(Libraries() + testhost::Widen(f)));
  }
  void Remove(const std::string& relative) { testhost::RemoveTree(Libraries() + testhost::Widen(relative)); }

  // Runs action 24 through a freshly loaded plug-in; host.calls then holds only the action's calls.
  int32_t Run(TestHost& host, const std::string& components, bool addFile = true, bool setVariable = true) {
    host.Register(addFile, setVariable);
    host.calls.clear();
    host.variables.clear();
    return host.Exec(24, {components, "[Summary]"});
  }
  // Registered paths relative to WebLibraries; every one with the flag 1.
  std::vector<std::string> Registered(const TestHost& host) const {
    const std::string prefix = testhost::Ansi(Libraries());
    std::vector<std::string> out;
    for (const auto& call : host.CallsOf(CallKind::AddFile)) {
      EXPECT_EQ(call.flag, 1);
      EXPECT_EQ(call.text.rfind(prefix, 0), 0u) << call.text;
      out.push_back(call.text.substr(prefix.size()));
    }
    return out;
  }
  std::vector<std::string> AssetLines() const {
    std::vector<std::string> out;
    for (const auto& line : appData.LogLines()) {
      const size_t at = line.find(" | WebAssets | ");
      if (at != std::string::npos) out.push_back(line.substr(at + 15));
    }
    return out;
  }
  bool Logged(const std::string& text) const {
    const auto lines = AssetLines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
  }

  testhost::ScopedLocalAppData appData;
  const std::wstring dir;
};

std::string Summary(size_t count, const std::string& components) {
  return "Registered " + std::to_string(count) + " web asset file(s). Components=" + components;
}

struct AssetCase {
  const char* name;
  std::string components;
  std::vector<std::string> removed;   // relative to WebLibraries, taken out of the full tree
  bool ok;
  std::vector<std::string> registered;
  std::string summaryComponents;
  std::string failureLine;            // a line the failure leaves in the log, with <lib> for WebLibraries\.
};

class PrepareAssets : public ::testing::TestWithParam<AssetCase> {};
}  // namespace

TEST_P(PrepareAssets, RegistersTheSelectedComponents) {
  const AssetCase& c = GetParam();
  AssetFolder folder;
  folder.LayTree();
  for (const auto& r : c.removed) folder.Remove(r);
  TestHost host(folder.dir + L"zkTamrelDesk.nbp");

  EXPECT_EQ(folder.Run(host, c.components), c.ok ? 1 : 0);
  EXPECT_EQ(folder.Registered(host), c.registered);
  const std::string summary = Summary(c.registered.size(), c.summaryComponents);
  EXPECT_EQ(host.Var("[Summary]"), summary);
  EXPECT_TRUE(folder.Logged(summary));
  EXPECT_EQ(host.HasVar("[LastError]"), !c.ok);
  if (!c.ok) {
    EXPECT_EQ(host.Var("[LastError]"), kLastErrorText);
  }
  if (!c.failureLine.empty()) {
    std::string line = c.failureLine;
    line.replace(line.find("<lib>"), 5, testhost::Utf8(folder.Libraries()));
    EXPECT_TRUE(folder.Logged(line)) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Components, PrepareAssets,
    ::testing::Values(
        AssetCase{"EmptyMeansAll", "", {}, true, Join({kECharts, kTabulator, kQuill}), "ALL", ""},
        AssetCase{"AllInAnyCase", "aLl", {}, true, Join({kECharts, kTabulator, kQuill}), "ALL", ""},
        AssetCase{"AllWithBlanksAround", " \tall \r\n", {}, true, Join({kECharts, kTabulator, kQuill}), "ALL", ""},
        // Step order, not list order; the summary keeps the list as written.
        AssetCase{"QuillBeforeTabulator", "quill,TABULATOR", {}, true, Join({kTabulator, kQuill}), "QUILL,TABULATOR",
                  ""},
        // A blank after the separator does not drop the second item.
        AssetCase{"BlankAfterSeparator", "ECharts, Quill", {}, true, Join({kECharts, kQuill}), "ECHARTS, QUILL", ""},
        AssetCase{"SemicolonsAndBlanks", " tabulator ;; quill ", {}, true, Join({kTabulator, kQuill}),
                  "TABULATOR ;; QUILL", ""},
        AssetCase{"UnknownKeyword", "charts", {}, true, {}, "CHARTS", ""},
        AssetCase{"ThemesAloneTopLevelOnly", "themes", {}, true, {"ECharts\\theme\\dark.js"}, "THEMES", ""},
        AssetCase{"ThemesAloneWithoutThemeFolder", "THEMES", {"ECharts\\theme"}, false, {}, "THEMES",
                  "Asset folder missing: <lib>ECharts\\theme"},
        AssetCase{"EChartsWithoutThemeFolder", "ECHARTS", {"ECharts\\theme"}, true,
                  Without(kECharts, "ECharts\\theme\\dark.js"), "ECHARTS", ""},
        AssetCase{"EChartsWithoutExtensionFolder", "echarts", {"ECharts\\dist\\extension"}, false,
                  {"ECharts\\dist\\echarts.min.js", "ECharts\\theme\\dark.js", "ECharts\\LICENSE"}, "ECHARTS",
                  "Asset folder missing: <lib>ECharts\\dist\\extension"},
        AssetCase{"MissingLicenseStillCountsTheOthers", "Tabulator;Quill", {"Tabulator\\LICENSE"}, false,
                  Join({Without(kTabulator, "Tabulator\\LICENSE"), kQuill}), "TABULATOR;QUILL",
                  "Missing dependency: <lib>Tabulator\\LICENSE"}),
    [](const ::testing::TestParamInfo<AssetCase>& info) { return std::string(info.param.name); });

TEST(PrepareAssetsCallbacks, WithoutAddFileCallbackEveryExistingFileFails) {
  AssetFolder folder;
  folder.LayTree();
  folder.Remove("Quill\\LICENSE");
  TestHost host(folder.dir + L"zkTamrelDesk.nbp");
  EXPECT_EQ(folder.Run(host, "QUILL", /*addFile=*/false), 0);
  EXPECT_TRUE(host.CallsOf(CallKind::AddFile).empty());
  const auto lines = folder.AssetLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "nbAddFile callback unavailable."), 2);
  EXPECT_EQ(host.Var("[Summary]"), Summary(0, "QUILL"));
  EXPECT_EQ(host.Var("[LastError]"), kLastErrorText);
}

TEST(PrepareAssetsCallbacks, WithoutSetVariableCallbackOnlyTheLogReports) {
  AssetFolder folder;
  folder.LayTree();
  folder.Remove("Tabulator\\LICENSE");
  TestHost host(folder.dir + L"zkTamrelDesk.nbp");
  EXPECT_EQ(folder.Run(host, "TABULATOR", true, /*setVariable=*/false), 0);
  EXPECT_TRUE(host.CallsOf(CallKind::SetVariable).empty());
  EXPECT_EQ(folder.Registered(host), Without(kTabulator, "Tabulator\\LICENSE"));
  EXPECT_TRUE(folder.Logged(Summary(2, "TABULATOR")));
  EXPECT_TRUE(folder.Logged("Missing dependency: " + testhost::Utf8(folder.Libraries()) + "Tabulator\\LICENSE"));
}

namespace {
std::vector<std::string> g_setVariables;
void HOSTCALL RecordSetVariable(const char* name, const char* value) {
  g_setVariables.push_back(std::string(name) + "=" + value);
}
}  // namespace

// White box: the plug-in's own module file name cannot be obtained.
TEST(PrepareAssetsDirectory, FailsWithoutThePluginDirectory) {
  testhost::ScopedLocalAppData appData;
  const HINSTANCE savedInstance = PluginInstance;
  const SetVariableProc savedSetVariable = SetVariableCallback;
  PluginInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10));  // no module there
  SetVariableCallback = &RecordSetVariable;
  g_setVariables.clear();
  const char* params[] = {"ALL", "[Summary]"};
  const int32_t result = ExecuteAction(24, params);
  PluginInstance = savedInstance;
  SetVariableCallback = savedSetVariable;

  EXPECT_EQ(result, 0);
  EXPECT_EQ(g_setVariables, std::vector<std::string>{"[LastError]=Unable to locate the tamrelDesk plugin directory."});
  EXPECT_EQ(appData.Log().find("WebAssets"), std::string::npos);
}

TEST(PrepareAssetsTree, LinkCycleBelowExtensionEndsAndCountsEachFileOnce) {
  // Built beside the tests: ECharts with "dist\extension\nested\loop" linking back to "dist\extension".
  testhost::ScopedLocalAppData appData;
  const std::wstring dir = testhost::ExeDirectory() + L"fixtures\\link-cycle\\";
  const std::wstring extension = dir + L"WebLibraries\\ECharts\\dist\\extension\\";
  ASSERT_NE(GetFileAttributesW((extension + L"nested\\loop\\nested\\loop\\bmap.js").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the link cycle is not in place";
  ASSERT_TRUE(CopyFileW(testhost::DefaultPluginPath().c_str(), (dir + L"zkTamrelDesk.nbp").c_str(), FALSE));
  TestHost host(dir + L"zkTamrelDesk.nbp");
  host.Register();
  host.calls.clear();
  EXPECT_EQ(host.Exec(24, {"ECHARTS", "[Summary]"}), 1);
  std::vector<std::string> registered;
  for (const auto& call : host.CallsOf(CallKind::AddFile))
    registered.push_back(call.text.substr(testhost::Ansi(dir + L"WebLibraries\\").size()));
  EXPECT_EQ(registered, kECharts);
}

TEST(PrepareAssetsTree, PathOutsideTheAnsiCodePageIsAFailureNotACorruptRegistration) {
  const std::wstring name = L"\x4E2D\x6587.js";  // not in a Western code page
  // Needs a file system that holds the name (Wine: a UTF-8 locale on the Unix side).
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (!lossy) GTEST_SKIP() << "the ANSI code page holds these characters";
  AssetFolder folder;
  folder.LayTree();
  const std::wstring odd = folder.Libraries() + L"ECharts\\dist\\extension\\" + name;
  if (!WriteTreeFile(odd)) GTEST_SKIP() << "the file system here cannot hold this name";
  TestHost host(folder.dir + L"zkTamrelDesk.nbp");
  EXPECT_EQ(folder.Run(host, "ECHARTS"), 0);
  EXPECT_EQ(folder.Registered(host), kECharts);
  EXPECT_EQ(host.Var("[Summary]"), Summary(kECharts.size(), "ECHARTS"));
  EXPECT_TRUE(folder.Logged("Cannot register a path outside the ANSI code page: " + testhost::Utf8(odd)));
}

// Windows refuses paths of MAX_PATH characters or more without the extended-length prefix; the
// plug-in's file-system calls keep that rule here. A subfolder of "dist\\extension" that deep
// is walked and its files are registered under their plain full paths.
TEST(PrepareAssetsTree, FilesOfMaxPathOrLongerRegisterUnderWindowsPathRules) {
  AssetFolder folder;
  folder.LayTree();
  const std::wstring extension = folder.Libraries() + L"ECharts\\dist\\extension";
  const std::wstring deep = testhost::MakeDeepFolder(extension + L"\\nested", 300);
  ASSERT_FALSE(deep.empty());
  ASSERT_TRUE(WriteTreeFile(deep + L"\\far.js"));
  TestHost host(folder.dir + L"zkTamrelDesk.nbp");
  host.KeepWindowsPathRules();
  EXPECT_EQ(folder.Run(host, "ECHARTS"), 1) << host.Var("[LastError]");
  const std::string farFile = testhost::Ansi(deep.substr(folder.Libraries().size()) + L"\\far.js");
  std::vector<std::string> expected = kECharts;
  expected.insert(expected.begin() + 2, farFile);  // nested\\...\\far.js before nested\\deeper\\tool.JS
  EXPECT_EQ(folder.Registered(host), expected);
  EXPECT_TRUE(folder.Logged("Registered publication dependency: " + testhost::Utf8(deep + L"\\far.js")));
}

TEST(PrepareAssetsRelease, EveryComponentOfTheReleaseLayoutRegisters) {
  AssetFolder folder;
  const std::wstring release = testhost::ExeDirectory() + L"release-WebLibraries";
  // The release layout, copied beside the plug-in copy.
  std::vector<std::wstring> pending = {L""};
  int copied = 0;
  while (!pending.empty()) {
    const std::wstring relative = pending.back();
    pending.pop_back();
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((release + relative + L"\\*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = relative + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        pending.push_back(child);
      } else if (name != L".laid-out") {
        ForceDirectories(folder.dir + L"WebLibraries" + relative);
        ASSERT_TRUE(CopyFileW((release + child).c_str(), (folder.dir + L"WebLibraries" + child).c_str(), FALSE));
        ++copied;
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  ASSERT_GT(copied, 0);

  TestHost host(folder.dir + L"zkTamrelDesk.nbp");
  EXPECT_EQ(folder.Run(host, "all"), 1);
  EXPECT_FALSE(host.HasVar("[LastError]"));
  const auto registered = folder.Registered(host);
  EXPECT_EQ(host.Var("[Summary]"), Summary(registered.size(), "ALL"));
  for (const char* part : {"ECharts\\dist\\echarts.min.js", "ECharts\\dist\\extension\\", "ECharts\\theme\\",
                           "ECharts\\LICENSE", "Tabulator\\", "Quill\\"}) {
    EXPECT_GT(std::count_if(registered.begin(), registered.end(),
                            [&](const std::string& r) { return r.rfind(part, 0) == 0; }),
              0)
        << part;
  }
  EXPECT_EQ(std::count_if(registered.begin(), registered.end(),
                          [](const std::string& r) { return r.rfind("Tabulator\\", 0) == 0; }),
            3);
  EXPECT_EQ(std::count_if(registered.begin(), registered.end(),
                          [](const std::string& r) { return r.rfind("Quill\\", 0) == 0; }),
            3);
}
