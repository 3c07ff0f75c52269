// Without a usable WebView2Loader.dll the plug-in looks for the installed runtime in the
// registry (per machine, then per user) and creates the environment through the runtime's
// engine library; each scenario in a fresh process with the registration in the test prefix.
#include <gtest/gtest.h>
#include <algorithm>
#include "loader_scenario.h"
#include "runtime_registration.h"

namespace {
const std::string kNotFound =
    "WebView2Loader.dll was not found. Checked plugin directory, host executable directory and current directory.";
const std::string kNoRuntime = "No usable WebView2 Runtime was found.";
const std::string kNoneThere = "No WebView2 Runtime registered there; error=2";
const std::string kModNotFound = "0x8007007E";

std::string Looking(const char* hive) {
  return std::string("Looking for the WebView2 Runtime in the registry: ") + hive +
         "\\SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}, value EBWebView";
}
std::string EngineOf(const std::wstring& folder) {
  return Narrow(folder) + "\\EBWebView\\x86\\EmbeddedBrowserWebView.dll";
}
std::string Returned(const char* hex) {
  return std::string(
             "CreateWebViewEnvironmentWithOptionsInternal(checkRunningInstance=true, runtimeType=0) returned 0x") +
         hex;
}
std::vector<std::string> Found(const std::wstring& folder, const std::string& version) {
  return {"WebView2 Runtime registered at " + Narrow(folder), "WebView2 Runtime version " + version,
          "Attempting LoadLibrary: " + EngineOf(folder),
          "WebView2 Runtime engine loaded and entry resolved: " + EngineOf(folder)};
}
std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
}  // namespace

TEST(RuntimeFallback, PerUserRuntimeIsUsedWithoutALoaderAndKeptFromThenOn) {
  LoaderScenario s;
  const std::wstring folder = s.PlaceRuntime(L"138.0.3351.48", "fake_runtime_engine");
  testhost::ScopedRuntimeRegistration registration(HKEY_CURRENT_USER, folder);
  ASSERT_TRUE(registration.ok());
  // The fixture answers 0x0000ABCE only when all five arguments arrived in their 20 stack bytes.
  const auto results =
      s.Run({L"create", L"version", L"create", L"loaded=" + folder + L"\\EBWebView\\x86\\EmbeddedBrowserWebView.dll"});
  EXPECT_EQ(results, (std::vector<std::string>{"create 0x0000ABCE", "version 0x00000000 138.0.3351.48",
                                               "create 0x0000ABCE", "loaded yes"}));
  EXPECT_EQ(s.DependencyLines(),
            Join({{kNotFound, Looking("HKEY_LOCAL_MACHINE"), kNoneThere, Looking("HKEY_CURRENT_USER")},
                  Found(folder, "138.0.3351.48"),
                  {Returned("0000ABCE"),
                   "GetAvailableCoreWebView2BrowserVersionString answered from the installed WebView2 Runtime: "
                   "138.0.3351.48",
                   Returned("0000ABCE")}}));
}

TEST(RuntimeFallback, PerMachineRuntimeComesFirst) {
  LoaderScenario s;
  const std::wstring machine = s.PlaceRuntime(L"138.0.3351.48", "fake_runtime_engine");
  const std::wstring user = s.PlaceRuntime(L"139.0.3405.86", "fake_runtime_engine");
  testhost::ScopedRuntimeRegistration perMachine(HKEY_LOCAL_MACHINE, machine);
  testhost::ScopedRuntimeRegistration perUser(HKEY_CURRENT_USER, user);
  ASSERT_TRUE(perMachine.ok());
  ASSERT_TRUE(perUser.ok());
  EXPECT_EQ(s.Run({L"create"}), std::vector<std::string>{"create 0x0000ABCE"});
  EXPECT_EQ(
      s.DependencyLines(),
      Join({{kNotFound, Looking("HKEY_LOCAL_MACHINE")}, Found(machine, "138.0.3351.48"), {Returned("0000ABCE")}}));
}

TEST(RuntimeFallback, UnusablePerMachineRuntimeFallsToThePerUserOne) {
  LoaderScenario s;
  const std::wstring machine = s.PlaceRuntime(L"120.0.2210.91", "fake_runtime_engine");
  const std::wstring user = s.PlaceRuntime(L"137.0.3296.44", "fake_runtime_engine");
  testhost::ScopedRuntimeRegistration perMachine(HKEY_LOCAL_MACHINE, machine);
  testhost::ScopedRuntimeRegistration perUser(HKEY_CURRENT_USER, user);
  ASSERT_TRUE(perMachine.ok() && perUser.ok());
  EXPECT_EQ(s.Run({L"version"}), std::vector<std::string>{"version 0x00000000 137.0.3296.44"});
  const auto lines = s.DependencyLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "WebView2 Runtime 120.0.2210.91 is older than 137.0.3296.44, the version this plug-in targets; "
                      "skipped"),
            lines.end());
  EXPECT_EQ(lines.back(),
            "GetAvailableCoreWebView2BrowserVersionString answered from the installed WebView2 Runtime: "
            "137.0.3296.44");
}

TEST(RuntimeFallback, LoaderBesideThePluginIsUsedAndTheRegistryIsNotRead) {
  LoaderScenario s;
  s.PlaceLoader(s.plugin, "complete");
  testhost::ScopedRuntimeRegistration registration(HKEY_CURRENT_USER,
                                                   s.PlaceRuntime(L"138.0.3351.48", "fake_runtime_engine"));
  ASSERT_TRUE(registration.ok());
  EXPECT_EQ(s.Run({L"create", L"version"}),
            (std::vector<std::string>{"create 0x0000ABCD", "version 0x00000000 98.7.6.5"}));
  for (const auto& line : s.DependencyLines()) EXPECT_EQ(line.find("WebView2 Runtime"), std::string::npos) << line;
}

// A registered runtime that cannot be used: the search ends as it does without any runtime,
// on every call, after the lines that say why.
struct UnusableCase {
  const char* label;
  const wchar_t* versionFolder;  // below the scenario's rt folder
  const char* fixture;           // its engine library; null: the folder does not exist
  std::vector<std::string> (*why)(const std::wstring& folder);
};

class UnusableRuntime : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableRuntime, FallsThroughToModuleNotFound) {
  const UnusableCase& c = GetParam();
  LoaderScenario s;
  const std::wstring folder =
      c.fixture ? s.PlaceRuntime(c.versionFolder, c.fixture) : s.root + L"gone\\" + c.versionFolder;
  testhost::ScopedRuntimeRegistration registration(HKEY_CURRENT_USER, folder);
  ASSERT_TRUE(registration.ok());
  const std::wstring library = folder + L"\\EBWebView\\x86\\EmbeddedBrowserWebView.dll";
  EXPECT_EQ(s.Run({L"create", L"version", L"loaded=" + library}),
            (std::vector<std::string>{"create " + kModNotFound, "version " + kModNotFound + " (null)", "loaded no"}));
  const std::vector<std::string> search =
      Join({{kNotFound, Looking("HKEY_LOCAL_MACHINE"), kNoneThere, Looking("HKEY_CURRENT_USER"),
             "WebView2 Runtime registered at " + Narrow(folder)},
            c.why(folder),
            {kNoRuntime}});
  EXPECT_EQ(s.DependencyLines(), Join({search, search}));
}

INSTANTIATE_TEST_SUITE_P(
    RuntimeFallback, UnusableRuntime,
    ::testing::Values(
        UnusableCase{"TooOld", L"120.0.2210.91", "fake_runtime_engine",
                     [](const std::wstring&) {
                       return std::vector<std::string>{
                           "WebView2 Runtime version 120.0.2210.91",
                           "WebView2 Runtime 120.0.2210.91 is older than 137.0.3296.44, the version this plug-in "
                           "targets; skipped"};
                     }},
        UnusableCase{"OneBuildBelowTheTarget", L"137.0.3295.999", "fake_runtime_engine",
                     [](const std::wstring&) {
                       return std::vector<std::string>{
                           "WebView2 Runtime version 137.0.3295.999",
                           "WebView2 Runtime 137.0.3295.999 is older than 137.0.3296.44, the version this plug-in "
                           "targets; skipped"};
                     }},
        UnusableCase{"MissingFolder", L"138.0.3351.48", nullptr,
                     [](const std::wstring& folder) {
                       return std::vector<std::string>{
                           "WebView2 Runtime version 138.0.3351.48",
                           "WebView2 Runtime engine library not found: " + EngineOf(folder)};
                     }},
        UnusableCase{"LibraryWithoutTheEntry", L"138.0.3351.48", "fake_loader_complete",
                     [](const std::wstring& folder) {
                       return std::vector<std::string>{
                           "WebView2 Runtime version 138.0.3351.48", "Attempting LoadLibrary: " + EngineOf(folder),
                           "Missing CreateWebViewEnvironmentWithOptionsInternal export; error=127"};
                     }},
        UnusableCase{"FolderNotNamedByAVersion", L"Application", "fake_runtime_engine",
                     [](const std::wstring&) {
                       return std::vector<std::string>{
                           "The WebView2 Runtime folder is not named by a version: Application"};
                     }}),
    [](const ::testing::TestParamInfo<UnusableCase>& info) { return std::string(info.param.label); });
