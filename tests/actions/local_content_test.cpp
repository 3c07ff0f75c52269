// Actions 17 and 18: local HTML files and local web application folders.
#include "actions/file_url.h"
#include "browser_fixture.h"

using namespace browsertest;

namespace {

// A folder (with a blank, an accented letter and "#" in its name) holding:
//   other.html  app\index.html  app\page.html  app\pages\home.html  and an empty folder "empty"
class LocalContentTest : public BrowserTest {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    root = testhost::MakeTempDir(L"web \u00e9#1");
    ASSERT_FALSE(root.empty());
    app = root + L"app\\";
    ASSERT_TRUE(CreateDirectoryW(app.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((app + L"pages").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"empty").c_str(), nullptr));
    for (const std::wstring& file :
         {root + L"other.html", app + L"index.html", app + L"page.html", app + L"pages\\home.html"})
      ASSERT_TRUE(testhost::WriteFileBytes(file, "<html></html>"));
  }
  void TearDown() override {
    BrowserTest::TearDown();
    testhost::RemoveTree(root);
  }

  // Rect1 with a created WebView.
  void ReadyRect1() { ASSERT_NO_FATAL_FAILURE(ReadyHost()); }
  int32_t LoadFile(const std::wstring& name, const std::wstring& path) { return host->ExecW(17, {name, path}); }
  int32_t LoadFolder(const std::wstring& name, const std::wstring& folder, const std::wstring& page) {
    return host->ExecW(18, {name, folder, page});
  }
  static std::vector<std::wstring> Navigations() { return engine::Client().ArgsOf(L"Navigate", 1); }
  std::vector<std::string> ErrorLines() const {
    std::vector<std::string> errors;
    for (const auto& t : LogTexts())
      if (t.rfind("ERROR: ", 0) == 0) errors.push_back(t);
    return errors;
  }
  // The failure was reported once: one log line and one "[LastError]" with the message.
  void ExpectReportedOnce(const std::wstring& message) {
    EXPECT_EQ(ErrorLines(), std::vector<std::string>{"ERROR: " + testhost::Utf8(message)});
    EXPECT_EQ(host->SetsOf("[LastError]"), std::vector<std::string>{testhost::Ansi(message)});
  }
  bool Logged(const std::wstring& text) const { return LogHas(testhost::Utf8(text)); }

  std::wstring root, app;
};

// ---- one file ---------------------------------------------------------------------------------

TEST_F(LocalContentTest, FileIsNavigatedAsAFileUrl) {
  ReadyRect1();
  EXPECT_EQ(LoadFile(L"Rect1", L"  " + app + L"page.html\t"), 1);
  ASSERT_EQ(Navigations().size(), 1u);
  EXPECT_EQ(testhost::Utf8(Navigations()[0]), testhost::Utf8(PathToFileURL(app + L"page.html")));
  // The folder name's blank, accented letter and "#" are encoded in the URL.
  EXPECT_NE(Navigations()[0].find(L"web%20%C3%A9%231"), std::wstring::npos) << testhost::Utf8(Navigations()[0]);
  EXPECT_EQ(Navigations()[0].rfind(L"file:///", 0), 0u);
  EXPECT_TRUE(Logged(L"Local HTML file queued: " + app + L"page.html"));
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

TEST_F(LocalContentTest, FileLoadedBeforeCreationCompletesIsShownWhenItDoes) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1"), 1);
  EXPECT_EQ(LoadFile(L"RECT1", app + L"index.html"), 1);
  EXPECT_TRUE(Navigations().empty());
  ASSERT_TRUE(WaitReady(1));
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(app + L"index.html")});
}

TEST_F(LocalContentTest, RelativePathsResolveAgainstTheCurrentDirectory) {
  ReadyRect1();
  ASSERT_TRUE(SetCurrentDirectoryW(app.c_str()));
  EXPECT_EQ(LoadFile(L"Rect1", L"pages\\home.html"), 1);
  EXPECT_EQ(LoadFile(L"Rect1", L"..\\other.html"), 1);
  EXPECT_EQ(Navigations(),
            (std::vector<std::wstring>{PathToFileURL(app + L"pages\\home.html"), PathToFileURL(root + L"other.html")}));
  EXPECT_TRUE(InOrder(LogTexts(), {testhost::Utf8(L"Local HTML file queued: " + app + L"pages\\home.html"),
                                   testhost::Utf8(L"Local HTML file queued: " + root + L"other.html")}));
  // The message shows the full path too.
  EXPECT_EQ(LoadFile(L"Rect1", L"missing.html"), 0);
  EXPECT_EQ(LastError(), testhost::Ansi(L"Local HTML file was not found: " + app + L"missing.html"));
}

struct FileFailure {
  const char* label;
  std::wstring path;  // after the root folder's path when `rooted`
  bool rooted;
  std::wstring shown;  // path in the message, after the root folder's path when `rooted`
};
void PrintTo(const FileFailure& c, std::ostream* os) { *os << c.label; }

class LocalFileFailure : public LocalContentTest, public ::testing::WithParamInterface<FileFailure> {};

TEST_P(LocalFileFailure, IsReportedOnceWithTheFullPath) {
  const FileFailure& c = GetParam();
  ReadyRect1();
  EXPECT_EQ(LoadFile(L"Rect1", c.rooted ? root + c.path : c.path), 0);
  ExpectReportedOnce(L"Local HTML file was not found: " + (c.rooted ? root + c.shown : c.shown));
  EXPECT_TRUE(Navigations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    LocalContent, LocalFileFailure,
    ::testing::Values(FileFailure{"Empty", L"", false, L""}, FileFailure{"Blanks", L" \t ", false, L""},
                      FileFailure{"Missing", L"app\\nothing.html", true, L"app\\nothing.html"},
                      FileFailure{"AFolder", L"app", true, L"app"},
                      FileFailure{"AFolderWithDotSteps", L"app\\pages\\.\\..\\pages", true, L"app\\pages"}),
    [](const ::testing::TestParamInfo<FileFailure>& info) { return std::string(info.param.label); });

TEST_F(LocalContentTest, FileNeedsARegisteredHostBeforeThePathIsLookedAt) {
  AddRectangle("Rect1");
  EXPECT_EQ(LoadFile(L"Rect1", L""), 0);
  ExpectReportedOnce(L"No WebView2 instance is attached to \"Rect1\".");
  EXPECT_FALSE(LogHas("Local HTML file queued: "));
}

// ---- a web application folder -----------------------------------------------------------------

struct FolderCase {
  const char* label;
  std::wstring folder;       // after the root folder's path
  std::wstring page;         // "<root>" stands for the root folder's path, "<nodrive>" for it without the drive
  std::wstring opened;       // full path of the page opened, after the root folder's path
  std::wstring shownFolder;  // folder in the second log line, after the root folder's path
};
void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.label; }

class WebAppFolder : public LocalContentTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(WebAppFolder, OpensTheStartPageAndLogsPageThenFolder) {
  const FolderCase& c = GetParam();
  ReadyRect1();
  // A page beginning with a backslash is rooted on the current drive: the root folder's drive.
  ASSERT_TRUE(SetCurrentDirectoryW(root.c_str()));
  std::wstring page = c.page;
  if (page.find(L"<root>") != std::wstring::npos) page.replace(page.find(L"<root>"), 6, root);
  if (page.find(L"<nodrive>") != std::wstring::npos) page.replace(page.find(L"<nodrive>"), 9, root.substr(2));
  EXPECT_EQ(LoadFolder(L"Rect1", L" " + root + c.folder + L"\t", page), 1);
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(root + c.opened)});
  const std::vector<std::string> lines = WithoutDependencyLines(LogTexts());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(
      std::vector<std::string>(lines.end() - 2, lines.end()),
      (std::vector<std::string>{testhost::Utf8(L"Local HTML file queued: " + root + c.opened),
                                testhost::Utf8(L"Local web application loaded from folder: " + root + c.shownFolder)}));
  EXPECT_FALSE(host->HasVar("[LastError]"));
}

INSTANTIATE_TEST_SUITE_P(
    LocalContent, WebAppFolder,
    ::testing::Values(FolderCase{"EmptyPageIsIndex", L"app", L"", L"app\\index.html", L"app"},
                      FolderCase{"BlankPageIsIndex", L"app\\", L" \t ", L"app\\index.html", L"app\\"},
                      FolderCase{"FolderWithSlash", L"app/", L"page.html", L"app\\page.html", L"app\\"},
                      FolderCase{"NamedPage", L"app", L" page.html ", L"app\\page.html", L"app"},
                      FolderCase{"PageBelowTheFolder", L"app", L"pages\\home.html", L"app\\pages\\home.html", L"app"},
                      FolderCase{"PageWithSlashes", L"app", L"pages/home.html", L"app\\pages\\home.html", L"app"},
                      FolderCase{"PageLeavingTheFolder", L"app", L"..\\other.html", L"other.html", L"app"},
                      FolderCase{"PageWithDotSteps", L"app\\pages", L".\\..\\index.html", L"app\\index.html",
                                 L"app\\pages"},
                      FolderCase{"AbsolutePageElsewhere", L"app", L"<root>other.html", L"other.html", L"app"},
                      // Not the folder joined with the page: the page is rooted on the current drive.
                      FolderCase{"PageRootedOnTheDrive", L"empty", L"<nodrive>other.html", L"other.html", L"empty"}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.label); });

TEST_F(LocalContentTest, ExtendedLengthStartPageIsUsedUnchangedAndNamesTheSameFile) {
  ReadyRect1();
  const std::wstring page = L"\\\\?\\" + root + L"other.html";
  EXPECT_EQ(LoadFolder(L"Rect1", app, page), 1);
  ASSERT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(root + L"other.html")});
  EXPECT_EQ(Navigations()[0].rfind(L"file:///", 0), 0u);
  EXPECT_TRUE(Logged(L"Local HTML file queued: " + page));
}

// A start page on another drive than the folder: the folder must exist, the page is opened.
TEST_F(LocalContentTest, AbsoluteStartPageOnAnotherDrive) {
  const std::wstring other = (root[0] == L'C' || root[0] == L'c') ? L"Z:\\tmp\\" : L"C:\\";
  const std::wstring folder = other + L"tamrel-state-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  if (!CreateDirectoryW(folder.c_str(), nullptr)) GTEST_SKIP() << "no writable second drive";
  const bool written = testhost::WriteFileBytes(folder + L"start.html", "<html></html>");
  ReadyRect1();
  const int32_t result = LoadFolder(L"Rect1", app, folder + L"start.html");
  const auto navigations = Navigations();
  testhost::RemoveTree(folder);
  ASSERT_TRUE(written);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(navigations, std::vector<std::wstring>{PathToFileURL(folder + L"start.html")});
  EXPECT_EQ(testhost::Utf8(navigations[0].substr(0, 10)), testhost::Utf8(L"file:///" + other.substr(0, 2)));
  EXPECT_TRUE(Logged(L"Local web application loaded from folder: " + app));
}

// Windows refuses paths of MAX_PATH characters or more without the extended-length prefix and
// takes a prefixed path literally; the plug-in's file-system calls keep those rules here.
TEST_F(LocalContentTest, PathsOfMaxPathOrLongerLoadUnderWindowsPathRules) {
  const std::wstring deep = testhost::MakeDeepFolder(root + L"app", 300);
  ASSERT_FALSE(deep.empty());
  ASSERT_TRUE(CreateDirectoryW((deep + L"\\pages").c_str(), nullptr));
  for (const wchar_t* file : {L"\\index.html", L"\\pages\\home.html"})
    ASSERT_TRUE(testhost::WriteFileBytes(deep + file, "<html></html>"));
  ReadyRect1();
  host->KeepWindowsPathRules();

  EXPECT_EQ(LoadFile(L"Rect1", deep + L"\\pages\\home.html"), 1) << LastError();
  EXPECT_EQ(LoadFolder(L"Rect1", deep, L"pages/../index.html"), 1) << LastError();
  EXPECT_EQ(LoadFolder(L"Rect1", L"\\\\?\\" + deep + L"\\", L""), 1) << LastError();
  EXPECT_EQ(Navigations(),
            (std::vector<std::wstring>{PathToFileURL(deep + L"\\pages\\home.html"),
                                       PathToFileURL(deep + L"\\index.html"), PathToFileURL(deep + L"\\index.html")}));
  EXPECT_TRUE(
      InOrder(LogTexts(), {testhost::Utf8(L"Local HTML file queued: " + deep + L"\\pages\\home.html"),
                           testhost::Utf8(L"Local HTML file queued: " + deep + L"\\index.html"),
                           testhost::Utf8(L"Local web application loaded from folder: " + deep),
                           testhost::Utf8(L"Local HTML file queued: \\\\?\\" + deep + L"\\index.html"),
                           testhost::Utf8(L"Local web application loaded from folder: \\\\?\\" + deep + L"\\")}));
  // Still not found when missing: the long form does not make every path exist.
  EXPECT_EQ(LoadFile(L"Rect1", deep + L"\\missing.html"), 0);
  EXPECT_EQ(LastError(), testhost::Ansi(L"Local HTML file was not found: " + deep + L"\\missing.html"));
}

// After "\\?\" the system resolves neither "/" nor ".." steps: the plug-in does, so such a start
// page names the file it means, in the log and in the URL.
TEST_F(LocalContentTest, ExtendedLengthStartPageWithSlashesAndDotStepsUnderWindowsPathRules) {
  ReadyRect1();
  host->KeepWindowsPathRules();
  EXPECT_EQ(LoadFolder(L"Rect1", app, L"\\\\?\\" + root + L"app/pages/./../index.html"), 1) << LastError();
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(app + L"index.html")});
  EXPECT_TRUE(Logged(L"Local HTML file queued: \\\\?\\" + app + L"index.html"));
}

struct FolderFailure {
  const char* label;
  std::wstring folder;  // after the root folder's path
  std::wstring page;
  std::wstring message;  // "<root>" stands for the root folder's path
};
void PrintTo(const FolderFailure& c, std::ostream* os) { *os << c.label; }

class WebAppFolderFailure : public LocalContentTest, public ::testing::WithParamInterface<FolderFailure> {};

// The Rectangle has no browser host: every one of these checks comes before the lookup.
TEST_P(WebAppFolderFailure, IsReportedOnceBeforeTheRectangleIsLookedUp) {
  const FolderFailure& c = GetParam();
  std::wstring message = c.message;
  const size_t at = message.find(L"<root>");
  if (at != std::wstring::npos) message.replace(at, 6, root);
  EXPECT_EQ(LoadFolder(L"Nobody", root + c.folder, c.page), 0);
  ExpectReportedOnce(message);
  EXPECT_FALSE(LogHas("Local HTML file queued: "));
}

INSTANTIATE_TEST_SUITE_P(
    LocalContent, WebAppFolderFailure,
    ::testing::Values(
        FolderFailure{"MissingFolder", L"nothing", L"", L"Local web application folder was not found: <root>nothing"},
        FolderFailure{"FolderIsAFile", L"other.html", L"",
                      L"Local web application folder was not found: <root>other.html"},
        FolderFailure{"Star", L"app", L"a*b.html", L"Invalid characters in path"},
        FolderFailure{"Bar", L"app", L"a|b.html", L"Invalid characters in path"},
        FolderFailure{"Question", L"app", L"page.html?x=1", L"Invalid characters in path"},
        FolderFailure{"Angles", L"app", L"<page>.html", L"Invalid characters in path"},
        FolderFailure{"Quote", L"app", L"\"page.html\"", L"Invalid characters in path"},
        FolderFailure{"ControlInside", L"app", L"pa\tge.html", L"Invalid characters in path"},
        FolderFailure{"QuestionAfterExtendedPrefix", L"app", L"\\\\?\\C:\\a?.html", L"Invalid characters in path"},
        FolderFailure{"MissingPage", L"app", L"nope.html",
                      L"Web application entry page was not found: <root>app\\nope.html"},
        FolderFailure{"PageIsAFolder", L"app", L"pages", L"Web application entry page was not found: <root>app\\pages"},
        FolderFailure{"NoIndex", L"empty", L"", L"Web application entry page was not found: <root>empty\\index.html"}),
    [](const ::testing::TestParamInfo<FolderFailure>& info) { return std::string(info.param.label); });

TEST_F(LocalContentTest, EmptyFolderIsNotFound) {
  EXPECT_EQ(LoadFolder(L"Nobody", L"  ", L""), 0);
  ExpectReportedOnce(L"Local web application folder was not found: ");
}

TEST_F(LocalContentTest, FolderLoadWithoutAHostIsReportedOnceByTheFileLoad) {
  AddRectangle("Rect1");
  EXPECT_EQ(LoadFolder(L"Rect1", app, L""), 0);
  ExpectReportedOnce(L"No WebView2 instance is attached to \"Rect1\".");
  EXPECT_FALSE(LogHas(testhost::Utf8(L"Local web application loaded from folder: " + app)));
}

// A navigation the engine refuses fails the load; nothing claims the page was queued.
TEST_F(LocalContentTest, RefusedFileNavigationFailsTheLoad) {
  ReadyRect1();
  engine::FailStep(ENGINE_STEP_NAVIGATE, E_INVALIDARG);
  EXPECT_EQ(LoadFile(L"Rect1", app + L"page.html"), 0);
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(app + L"page.html")});
  ExpectReportedOnce(L"Navigate failed (HRESULT 0x80070057).");
  EXPECT_FALSE(Logged(L"Local HTML file queued: " + app + L"page.html"));
}

TEST_F(LocalContentTest, RefusedFolderNavigationFailsTheLoadOnce) {
  ReadyRect1();
  engine::FailStep(ENGINE_STEP_NAVIGATE, HRESULT_FROM_WIN32(ERROR_INVALID_STATE));
  EXPECT_EQ(LoadFolder(L"Rect1", app, L""), 0);
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(app + L"index.html")});
  ExpectReportedOnce(L"Navigate failed (HRESULT 0x8007139F).");
  EXPECT_FALSE(Logged(L"Local HTML file queued: " + app + L"index.html"));
  EXPECT_FALSE(Logged(L"Local web application loaded from folder: " + app));
}

TEST_F(LocalContentTest, FolderLoadedBeforeCreationCompletesIsShownWhenItDoes) {
  AddRectangle("Rect1");
  ASSERT_EQ(Create(L"Rect1", L"https://first.example/"), 1);
  EXPECT_EQ(LoadFolder(L"Rect1", app, L"pages\\home.html"), 1);
  ASSERT_TRUE(WaitReady(1));
  // The folder load replaced the pending URL of the create.
  EXPECT_EQ(Navigations(), std::vector<std::wstring>{PathToFileURL(app + L"pages\\home.html")});
}

}  // namespace
