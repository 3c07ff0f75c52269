// The run-time search for WebView2Loader.dll, each scenario in a fresh process.
#include <gtest/gtest.h>
#include <algorithm>
#include "loader_scenario.h"

namespace {
const std::string kNotFound =
    "WebView2Loader.dll was not found. Checked plugin directory, host executable directory and current directory.";
const std::string kModNotFound = "0x8007007E";

// After the loader search, the search for an installed runtime, with none registered.
std::vector<std::string> NoRuntimeRegistered() {
  const std::string key = "\\SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
  const std::string looking = "Looking for the WebView2 Runtime in the registry: ";
  return {looking + "HKEY_LOCAL_MACHINE" + key + ", value EBWebView", "No WebView2 Runtime registered there; error=2",
          looking + "HKEY_CURRENT_USER" + key + ", value EBWebView", "No WebView2 Runtime registered there; error=2",
          "No usable WebView2 Runtime was found."};
}
// The loader's not-found line and the runtime search that follows it.
std::vector<std::string> FoundNothing() {
  std::vector<std::string> lines{kNotFound};
  const auto runtime = NoRuntimeRegistered();
  lines.insert(lines.end(), runtime.begin(), runtime.end());
  return lines;
}
std::vector<std::string> Then(std::vector<std::string> first, const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::string Attempt(const std::wstring& folder) {
  return "Attempting LoadLibrary: " + Narrow(folder) + "WebView2Loader.dll";
}
std::string MissingVersionExport() { return "Missing GetAvailableCoreWebView2BrowserVersionString export; error=127"; }

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}
}  // namespace

TEST(LoaderSearch, NoLibraryAnywhereRepeatsTheSearchOnEveryCall) {
  LoaderScenario s;
  const auto results = s.Run({L"version", L"create", L"version"});
  EXPECT_EQ(results, (std::vector<std::string>{"version " + kModNotFound + " (null)", "create " + kModNotFound,
                                               "version " + kModNotFound + " (null)"}));
  EXPECT_EQ(s.DependencyLines(), Then(Then(FoundNothing(), FoundNothing()), FoundNothing()));
}

TEST(LoaderSearch, IncompleteLibraryIsFreedAndTheHostFolderOneIsUsedFromThenOn) {
  LoaderScenario s;
  s.PlaceLoader(s.plugin, "partial");
  s.PlaceLoader(s.host, "complete");
  const auto results = s.Run({L"version", L"loaded=" + s.plugin + L"WebView2Loader.dll", L"create", L"version"});
  EXPECT_EQ(results, (std::vector<std::string>{"version 0x00000000 98.7.6.5", "loaded no", "create 0x0000ABCD",
                                               "version 0x00000000 98.7.6.5"}));
  EXPECT_EQ(
      s.DependencyLines(),
      (std::vector<std::string>{Attempt(s.plugin), MissingVersionExport(), Attempt(s.host),
                                "WebView2Loader loaded and exports resolved: " + Narrow(s.host) + "WebView2Loader.dll",
                                "GetAvailableCoreWebView2BrowserVersionString returned 0x00000000",
                                "CreateCoreWebView2EnvironmentWithOptions returned 0x0000ABCD",
                                "GetAvailableCoreWebView2BrowserVersionString returned 0x00000000"}));
}

TEST(LoaderSearch, CurrentDirectoryIsTriedEvenWhenItIsThePluginFolder) {
  LoaderScenario s;
  s.PlaceLoader(s.plugin, "partial");
  const auto results = s.Run({L"version", L"create"}, s.PluginFile(), s.plugin);
  EXPECT_EQ(results, (std::vector<std::string>{"version " + kModNotFound + " (null)", "create " + kModNotFound}));
  const std::vector<std::string> search =
      Then({Attempt(s.plugin), MissingVersionExport(), Attempt(s.plugin), MissingVersionExport()}, FoundNothing());
  std::vector<std::string> expected = search;
  expected.insert(expected.end(), search.begin(), search.end());
  EXPECT_EQ(s.DependencyLines(), expected);
}

TEST(LoaderSearch, HostFolderIsSkippedWhenItIsThePluginFolderInOtherLetterCase) {
  LoaderScenario s;
  // The plug-in lies beside the host executable but is loaded through an upper-case path.
  std::wstring upperHost = s.host;
  std::transform(upperHost.begin(), upperHost.end(), upperHost.begin(), ::towupper);
  ASSERT_TRUE(CopyFileW(s.PluginFile().c_str(), (s.host + L"zkTamrelDesk.nbp").c_str(), FALSE));
  s.PlaceLoader(s.host, "partial");
  const auto results = s.Run({L"dirs", L"version"}, upperHost + L"zkTamrelDesk.nbp", s.cwd);
  ASSERT_EQ(results.size(), 2u);
  // The two directories really differ in letter case only, or the test would show nothing.
  const std::string pluginDir = results[0].substr(5, results[0].find('|') - 5);
  const std::string hostDir = results[0].substr(results[0].find('|') + 1);
  ASSERT_NE(pluginDir, hostDir);
  ASSERT_EQ(_stricmp(pluginDir.c_str(), hostDir.c_str()), 0);
  EXPECT_EQ(results[1], "version " + kModNotFound + " (null)");
  EXPECT_EQ(
      s.DependencyLines(),
      Then({"Attempting LoadLibrary: " + pluginDir + "WebView2Loader.dll", MissingVersionExport()}, FoundNothing()));
}

// Without the plug-in's own file name the first candidate is the bare file name. It is loaded
// from the current directory, where it was found, not from wherever the DLL search order
// would find that name first (the executable's folder).
TEST(LoaderSearch, BareCandidateLoadsTheFileThatWasFound) {
  LoaderScenario s;
  s.PlaceLoader(s.cwd, "partial");
  s.PlaceLoader(s.host, "complete");
  const auto results = s.Run({L"version-without-module"});
  EXPECT_EQ(results, std::vector<std::string>{"version 0x00000000 98.7.6.5"});
  EXPECT_EQ(
      s.DependencyLines(),
      (std::vector<std::string>{Attempt(s.cwd), MissingVersionExport(), Attempt(s.host),
                                "WebView2Loader loaded and exports resolved: " + Narrow(s.host) + "WebView2Loader.dll",
                                "GetAvailableCoreWebView2BrowserVersionString returned 0x00000000"}));
}

TEST(LoaderSearch, LibraryOnlyInDependenciesFolderIsRegisteredButNotLoaded) {
  LoaderScenario s;
  s.PlaceLoader(s.plugin + L"Dependencies\\", "complete");
  const auto results = s.Run({L"register", L"version"});
  EXPECT_EQ(results,
            (std::vector<std::string>{"register addfile 1 " + Narrow(s.plugin) + "Dependencies\\WebView2Loader.dll",
                                      "version " + kModNotFound + " (null)"}));
  const auto lines = s.DependencyLines();
  EXPECT_EQ(Count(lines, "Attempting LoadLibrary"), 0);
  const auto nothing = FoundNothing();
  ASSERT_GE(lines.size(), nothing.size());
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<std::ptrdiff_t>(nothing.size()), lines.end()), nothing);
}
