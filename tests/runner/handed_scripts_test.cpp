// Scripts the plug-in hands to the host run at once, inside the callback, and may call the
// plug-in again: a page message runs the bridge script, which answers the page and reads the
// browser's state while the plug-in is still delivering the message.
#include <gtest/gtest.h>
#include <memory>
#include "engine/engine_client.h"
#include "plugin_session.h"
#include "publication.h"
#include "publication_window.h"
#include "script_executor.h"
#include "testhost/test_env.h"
#include "testhost/test_host.h"

namespace runner {
namespace {

class HandedScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    saved_ = saved;
    // The plug-in finds the engine double through the current directory.
    ASSERT_TRUE(SetCurrentDirectoryW(testhost::EngineDirectory().c_str()));
    std::string error;
    ASSERT_TRUE(
        ParsePublication("Rectangle \"Dash\" 0 0 320 200\n"
                         ":Startup\n"
                         "zkTamrelCreate \"Dash\" \"\"\n"
                         "zkTamrelBridge \"Dash\" \"[Msg]\" \"GoSub \"\"OnMessage\"\"\"\n"
                         "WaitFor \"[Inside]\" \"5000\"\n"
                         ":OnMessage\n"
                         "SetVar \"[Got]\" \"[Msg]\"\n"
                         "zkTamrelPostMessage \"Dash\" \"echo [Msg]\"\n"
                         "zkTamrelGetInfo \"Dash\" \"WEBVIEW_CREATED\" \"[Inside]\"\n",
                         publication_, error))
        << error;
    window_.reset(new PublicationWindow(publication_));
    HostSide side;
    side.variableSet = [this](const std::string& n, const std::string& v) { variables_.Set(n, v); };
    side.runScript = [this](const std::string& s) {
      ++scriptsRun_;
      if (executor_) executor_->RunHandedScript(s);
    };
    side.rectangle = [this](const std::string& n) { return window_->Rectangle(n); };
    session_.reset(new PluginSession(testhost::DefaultPluginPath(), side));
    session_->Start();
    executor_.reset(new ScriptExecutor(publication_, *window_, *session_, variables_, transcript_, L"C:\\"));
  }
  void TearDown() override {
    if (session_) session_->EndRunMode();
    executor_.reset();
    session_.reset();
    window_.reset();
    SetCurrentDirectoryW(saved_.c_str());
  }

  testhost::ScopedLocalAppData appData_;
  std::wstring saved_;
  Publication publication_;
  std::unique_ptr<PublicationWindow> window_;
  Variables variables_;
  Transcript transcript_;
  std::unique_ptr<PluginSession> session_;
  std::unique_ptr<ScriptExecutor> executor_;
  int scriptsRun_ = 0;
};

TEST_F(HandedScripts, RunInsideTheCallbackAndCallThePlugInAgain) {
  EngineClient engine;
  ASSERT_TRUE(engine.ok());
  engine.Reset();
  const auto& startup = publication_.scripts.at("STARTUP");
  // Create and configure, then let the page speak once the browser is up.
  ASSERT_TRUE(executor_->RunSteps({startup[0], startup[1]}, "line"));
  ASSERT_TRUE(testhost::PumpUntil([&] { return engine.WebViewCount() == 1 && !engine.DocumentScripts(1).empty(); }));
  engine.PostWebMessage(1, L"hello");
  ASSERT_TRUE(executor_->RunSteps({startup[2]}, "line"));
  EXPECT_FALSE(executor_->failed());
  EXPECT_EQ(scriptsRun_, 1);
  EXPECT_EQ(variables_.Value("[Got]"), "hello");
  EXPECT_EQ(variables_.Value("[Inside]"), "True");
  int posted = 0;
  for (const auto& call : engine.Calls())
    if (call.name == L"PostWebMessageAsString") {
      ++posted;
      EXPECT_EQ(call.args, L"echo hello");
    }
  EXPECT_EQ(posted, 1);
}

TEST_F(HandedScripts, AScriptThatCannotRunFailsTheRun) {
  executor_->RunHandedScript("SetVar \"[a]\" \"1\"\nzkTamrelNoSuchAction \"Dash\"\nSetVar \"[b]\" \"2\"");
  EXPECT_TRUE(executor_->failed());
  EXPECT_EQ(variables_.Value("[a]"), "1");
  EXPECT_EQ(variables_.Value("[b]"), "");
  executor_->RunHandedScript("SetVar \"[c]\" \"3\"");
  EXPECT_EQ(variables_.Value("[c]"), "") << "nothing runs after the run failed";
}

}  // namespace
}  // namespace runner
