// nbRegisterPlugIn registers WebView2Loader.dll as a publication file, through the test host
// in a runner that stands where the host executable lies.
#include <gtest/gtest.h>
#include <windows.h>
#include "loader_scenario.h"

namespace {
enum Where { kNone = 0, kPlugin = 1, kDependencies = 2, kHost = 4 };

struct RegistrationCase {
  const char* name;
  int placed;        // folders that hold a loader
  bool addFile;      // the host hands the add-file callback
  Where registered;  // the folder whose file is registered, kNone for none
};

std::wstring FolderOf(const LoaderScenario& s, int where) {
  if (where == kPlugin) return s.plugin;
  if (where == kDependencies) return s.plugin + L"Dependencies\\";
  return s.host;
}

class LoaderRegistration : public ::testing::TestWithParam<RegistrationCase> {};
}  // namespace

TEST_P(LoaderRegistration, RegistersTheFirstFileFoundBeforeAnyAction) {
  const RegistrationCase& c = GetParam();
  LoaderScenario s;
  for (int where : {kPlugin, kDependencies, kHost})
    if (c.placed & where) s.PlaceLoader(FolderOf(s, where), "complete");

  const auto results = s.Run({c.addFile ? L"register" : L"register-without-addfile"});
  const auto lines = s.DependencyLines();
  ASSERT_EQ(lines.size(), 1u);  // one line, and nothing is loaded while registering
  if (c.registered != kNone) {
    const std::string path = Narrow(FolderOf(s, c.registered)) + "WebView2Loader.dll";
    // Full path, flag 1, and before the first action is added.
    EXPECT_EQ(results, std::vector<std::string>{"register addfile 1 " + path});
    EXPECT_EQ(lines[0], "Registered NeoBook publication dependency: " + path);
  } else if (!c.addFile) {
    EXPECT_EQ(results, std::vector<std::string>{"register"});
    EXPECT_EQ(lines[0], "nbAddFile callback is not assigned; dependency was not registered.");
  } else {
    EXPECT_EQ(results, std::vector<std::string>{"register"});
    EXPECT_EQ(lines[0],
              "Cannot register WebView2Loader dependency; file not found: " + Narrow(s.host) + "WebView2Loader.dll");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, LoaderRegistration,
    ::testing::Values(RegistrationCase{"PluginFolderFirst", kPlugin | kDependencies | kHost, true, kPlugin},
                      RegistrationCase{"DependenciesBeforeHostFolder", kDependencies | kHost, true, kDependencies},
                      RegistrationCase{"HostFolderLast", kHost, true, kHost},
                      RegistrationCase{"NoFileAnywhere", 0, true, kNone},
                      RegistrationCase{"NoAddFileCallback", kPlugin, false, kNone}),
    [](const ::testing::TestParamInfo<RegistrationCase>& info) { return std::string(info.param.name); });

TEST(LoaderRegistrationPath, PathOutsideTheAnsiCodePageIsNotHandedToTheHost) {
  const std::wstring folderName = L"plugin-\x4E2D\x6587";  // not in a Western code page
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, folderName.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (!lossy) GTEST_SKIP() << "the ANSI code page holds these characters";
  LoaderScenario s(folderName);
  // Needs a file system that holds the name (Wine: a UTF-8 locale on the Unix side).
  if (!s.ready) GTEST_SKIP() << "the file system here cannot hold this name";
  s.PlaceLoader(s.plugin, "complete");
  EXPECT_EQ(s.Run({L"register"}), std::vector<std::string>{"register"});
  EXPECT_EQ(s.DependencyLines(),
            std::vector<std::string>{"Cannot register WebView2Loader dependency; path is outside the ANSI code page: " +
                                     Narrow(s.plugin) + "WebView2Loader.dll"});
}
