// The plug-in's code on a fake host, in this process: the Rectangle lookup and action 24 ask
// the host only through the host services.
#include "fake_host.h"
#include <gtest/gtest.h>
#include "actions/action_table.h"
#include "host/rectangle_lookup.h"
#include "support/errors.h"
#include "support/module.h"
#include "test_env.h"

using testhost::FakeHost;

namespace {
std::wstring LookupFailure(const std::wstring& name) {
  try {
    GetRectangleHandle(name);
  } catch (const TamrelError& e) {
    return e.message();
  }
  return L"(found)";
}
}  // namespace

TEST(FakeHost, RectangleLookupAsksThroughTheServices) {
  FakeHost host;
  host.rectangles["Rect1"] = "4660";
  host.rectangles["Zero"] = "0";
  EXPECT_EQ(GetRectangleHandle(L"Rect1"), reinterpret_cast<HWND>(static_cast<intptr_t>(4660)));
  EXPECT_EQ(LookupFailure(L"Other"), L"VisualNEO could not locate Rectangle \"Other\".");
  EXPECT_EQ(LookupFailure(L"Zero"), L"Rectangle \"Zero\" was not found or has no window handle.");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"access 7 Rect1", "access 7 Other", "access 7 Zero"}));

  host.interfaceAccess = false;
  EXPECT_EQ(LookupFailure(L"Rect1"), L"The VisualNEO interface callback is not available.");
  EXPECT_EQ(host.calls.size(), 3u);  // not asked at all
}

TEST(FakeHost, AssetActionReportsMissingFilesToTheHost) {
  testhost::ScopedLocalAppData appData;
  FakeHost host;
  // The test program's own folder has no WebLibraries: every file of the choice is missing.
  const HINSTANCE saved = PluginInstance;
  PluginInstance = nullptr;
  const TActionRow* action = FindAction(ActionId("tamrelPrepareAssets"));
  ASSERT_NE(action, nullptr);
  const bool result = action->Invoke({L" tabulator ", L"[Summary]"});
  PluginInstance = saved;
  EXPECT_FALSE(result);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{
                "set [Summary]=Registered 0 web asset file(s). Components=TABULATOR",
                "set [LastError]=One or more web assets could not be registered. Check the tamrelDesk log."}));

  // Without the add-file callback nothing is offered to the host either.
  host.calls.clear();
  host.addFiles = false;
  PluginInstance = nullptr;
  EXPECT_FALSE(action->Invoke({L"QUILL", L""}));
  PluginInstance = saved;
  EXPECT_EQ(host.calls.size(), 1u);  // "[LastError]" only
}
