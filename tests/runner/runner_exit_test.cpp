// The runner as an author meets it: a publication file that cannot run gives its message and a
// non-zero exit before anything runs; a run whose Expect, WaitFor or Screenshot fails ends
// with exit code 1; a good run on the engine double ends with 0.
#include <gtest/gtest.h>
#include <string>
#include "runner_process.h"
#include "testhost/test_env.h"

namespace runnertest {
namespace {

class RunnerExit : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testhost::MakeTempDir(L"runner");
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { testhost::RemoveTree(dir_); }

  std::wstring Write(const std::string& text, const std::wstring& name = L"test.pub") {
    const std::wstring path = dir_ + name;
    EXPECT_TRUE(testhost::WriteFileBytes(path, text));
    return path;
  }
  RunnerResult Run(const std::string& text, const std::wstring& options = L"") {
    return RunRunner(options + L"--release " + Quote(DoubleReleaseFolder()) + L" --pictures " + Quote(dir_) + L" " +
                     Quote(Write(text)));
  }

  testhost::ScopedLocalAppData appData_;
  std::wstring dir_;
};

const char kHeader[] = "Window \"Test\" 640 480\nRectangle \"Dash\" 0 0 640 480\n:Startup\n";

TEST_F(RunnerExit, PublicationsThatCannotRunStopBeforeTheirFirstLine) {
  const struct {
    std::string script;
    DWORD exitCode;
    const char* message;
  } cases[] = {
      {"SetVar \"[a]\" \"1\"\nzkTamrelCreate \"Dash\n", 2, "line 5: syntax error: parameter 1 has no closing"},
      {"SetVar \"[a]\" \"1\"\nzkTamrelCreat \"Dash\" \"\"\n", 2, "line 5: unknown action \"zkTamrelCreat\""},
      {"SetVar \"[a]\" \"1\"\nzkTamrelCreate \"Dash\"\n", 2, "line 5: zkTamrelCreate takes 2 parameters, not 1"},
      {"SetVar \"[a]\" \"1\"\nzkTamrelSetZoom \"Dash\" \"150\" \"x\"\n", 2,
       "line 5: zkTamrelSetZoom takes 2 parameters, not 3"},
      {"SetVar \"[a]\" \"1\"\nzkTamrelCreate \"Nowhere\" \"\"\n", 2,
       "line 5: unknown Rectangle \"Nowhere\": the publication defines only \"Dash\""},
      {"SetVar \"[a]\" \"1\"\nGoSub \"Missing\"\n", 2, "line 5: GoSub to a label the publication does not have"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const RunnerResult r = Run(kHeader + c.script);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
    EXPECT_NE(r.output.find("error: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("SetVar [a]"), std::string::npos) << "a line ran: " << r.output;
  }
}

TEST_F(RunnerExit, EveryBadLineOfAFileIsNamed) {
  const RunnerResult r =
      Run(std::string(kHeader) + "zkTamrelBack \"Dash\" \"x\"\nFoo \"1\"\n:Sub\nzkTamrelCreate \"Side\" \"\"\n");
  EXPECT_EQ(r.exitCode, 2u) << r.output;
  EXPECT_NE(r.output.find("line 4: zkTamrelBack takes 1 parameter, not 2"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("line 5: unknown action \"Foo\""), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("line 7: unknown Rectangle \"Side\""), std::string::npos) << r.output;
}

TEST_F(RunnerExit, MissingFilesAndFoldersAreNamed) {
  const std::wstring good = Write(std::string(kHeader) + "SetVar \"[a]\" \"1\"\n", L"good.pub");
  const std::wstring empty = dir_ + L"empty-release\\";
  CreateDirectoryW(empty.c_str(), nullptr);
  const struct {
    std::wstring arguments;
    DWORD exitCode;
    const char* message;
  } cases[] = {
      {L"--release " + Quote(dir_ + L"no-such-folder") + L" " + Quote(good), 3, "release folder not found: "},
      {L"--release " + Quote(empty) + L" " + Quote(good), 3, "the release folder has no plug-in: "},
      {L"--release " + Quote(DoubleReleaseFolder()) + L" " + Quote(dir_ + L"missing.pub"), 2,
       "publication file not found: "},
      {L"--release " + Quote(DoubleReleaseFolder()) + L" " + Quote(Write("Window \"t\" 9 9\n", L"nostart.pub")), 2,
       "the publication has no :Startup label"},
      {L"--release", 4, "usage: tamrel_runner"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const RunnerResult r = RunRunner(c.arguments);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
  }
}

TEST_F(RunnerExit, FailuresWhileRunningEndTheRunWithTheirLine) {
  const struct {
    std::string script;
    DWORD exitCode;
    const char* message;
  } cases[] = {
      {"SetVar \"[a]\" \"x\"\nExpect \"[a]\" \"y\"\nSetVar \"[b]\" \"after\"\n", 1,
       "line 5: Expect [a] failed: it is \"x\", expected \"y\""},
      {"WaitFor \"[Never]\" \"50\"\n", 1, "line 4: WaitFor [Never]: still empty after 50 ms"},
      {"Delay \"soon\"\n", 1, "line 4: a time in whole milliseconds"},
      {"SetVar \"[R]\" \"Nope\"\nzkTamrelDestroy \"[R]\"\n", 2, "line 5: unknown Rectangle \"Nope\""},
      {"zkTamrelCreate \"Dash\" \"\"\nDelay \"300\"\nScreenshot \"Dash\" \"shot.png\"\n", 1,
       "line 6: Screenshot of \"Dash\": the WebView2Loader.dll beside the plug-in cannot take pictures"},
      {"GoSub \"Loop\"\n:Loop\nGoSub \"Loop\"\n", 1, "scripts call each other more than 40 deep"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const RunnerResult r = Run(kHeader + c.script);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("SetVar [b]"), std::string::npos) << "the run went on: " << r.output;
    EXPECT_EQ(r.output.find("run complete"), std::string::npos) << r.output;
  }
}

TEST_F(RunnerExit, AGoodRunOnTheEngineDoubleEndsWithZero) {
  ASSERT_TRUE(testhost::WriteFileBytes(dir_ + L"page one.html", "<html></html>"));
  const RunnerResult r = Run(std::string(kHeader) +
                             "zkTamrelCreate \"Dash\" \"\"\n"
                             "Delay \"300\"\n"
                             "zkTamrelGetInfo \"dash\" \"WEBVIEW_CREATED\" \"[Created]\"\n"
                             "Expect \"[Created]\" \"True\"\n"
                             "zkTamrelSetZoom \"Dash\" \"150\"\n"
                             "tamrelGetZoom \"Dash\" \"[Zoom]\"\n"
                             "Expect \"[Zoom]\" \"150\"\n"
                             "zkTamrelSetZoom \"Dash\" \"600\"\n"
                             "Expect \"[LastError]\" \"Zoom must be between 25 and 500 percent.\"\n"
                             "SetVar \"[Page]\" \"[PubDir]page one.html\"\n"
                             "zkTamrelLoadFile \"Dash\" \"[Page]\"\n"
                             "zkTamrelGetInfo \"Dash\" \"URL\" \"[Url]\"\n"
                             "Expect \"[Url]\" \"file:///*/page%20one.html\"\n"
                             "GoSub \"Twice\"\n"
                             "Expect \"[Counter]\" \"xx\"\n"
                             "tamrelPrepareAssets \"TABULATOR\" \"[Summary]\"\n"
                             "Expect \"[Summary]\" \"Registered 3 web asset file(s). Components=TABULATOR\"\n"
                             ":Twice\n"
                             "SetVar \"[Counter]\" \"[Counter]x\"\n"
                             "SetVar \"[Counter]\" \"[Counter]x\"\n");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("run complete: 19 line(s) ran, 6 Expect line(s) held"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("publication file registered: "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("WebView2Loader.dll"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("tabulator.min.css"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("[Zoom] = \"150\""), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("[LastError] = \"Zoom must be between 25 and 500 percent.\"\n    -> 0 (failed)"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("end of run mode (message 2)"), std::string::npos) << r.output;
}

TEST_F(RunnerExit, CheckingRunsNothing) {
  const RunnerResult r =
      Run(std::string(kHeader) + "zkTamrelCreate \"Dash\" \"\"\nExpect \"[a]\" \"never\"\n", L"--check ");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("checked 2 script line(s) in 1 script(s)"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("zkTamrelCreate \"Dash\""), std::string::npos) << r.output;
}

}  // namespace
}  // namespace runnertest
