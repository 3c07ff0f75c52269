// The Chromium engine's serving of a mapped folder, called directly: files by URL path with
// their MIME types, 404 for what is not there, and 403 for every way out of the folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "served_files.h"
#include "testhost/test_env.h"
#include "testhost/test_links.h"

namespace {

using chromium::MimeTypeOf;
using chromium::ServedFile;
using chromium::ServeFromFolder;

// parent\app (the served folder) beside parent\outside, with links from inside the folder
// to a file and a folder outside it, and one to a file inside it.
class ServedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = testhost::MakeTempDir(L"served");
    ASSERT_FALSE(parent_.empty());
    app_ = parent_ + L"app";
    const std::wstring outside = parent_ + L"outside";
    for (const std::wstring& dir : {app_, app_ + L"\\sub", outside})
      ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    ASSERT_TRUE(testhost::WriteFileBytes(app_ + L"\\index.html", "<p>index</p>"));
    ASSERT_TRUE(testhost::WriteFileBytes(app_ + L"\\sub\\page.html", "<p>page</p>"));
    ASSERT_TRUE(testhost::WriteFileBytes(app_ + L"\\data.json", "{\"n\":1}"));
    ASSERT_TRUE(testhost::WriteFileBytes(app_ + L"\\a b \u00e9.txt", "blank"));
    ASSERT_TRUE(testhost::WriteFileBytes(outside + L"\\secret.txt", "secret"));
    links_ = testhost::MakeDirectoryLink(app_ + L"\\link.txt", outside + L"\\secret.txt") &&
             testhost::MakeDirectoryLink(app_ + L"\\outdir", outside) &&
             testhost::MakeDirectoryLink(app_ + L"\\inlink.json", app_ + L"\\data.json");
  }
  void TearDown() override {
    for (const wchar_t* link : {L"\\link.txt", L"\\outdir", L"\\inlink.json"})
      testhost::RemoveDirectoryLink(app_ + link);
    testhost::RemoveTree(parent_);
  }
  ServedFile Get(const std::string& path) const { return ServeFromFolder(app_, path); }

  std::wstring parent_, app_;
  bool links_ = false;
};

TEST_F(ServedFiles, FilesBelowTheFolderAreServedWithTheirTypes) {
  const struct {
    const char* path;
    const char* body;
    const char* type;
  } cases[] = {
      {"/index.html", "<p>index</p>", "text/html; charset=utf-8"},
      {"/", "<p>index</p>", "text/html; charset=utf-8"},
      {"/sub/page.html", "<p>page</p>", "text/html; charset=utf-8"},
      {"/sub/./page.html", "<p>page</p>", "text/html; charset=utf-8"},
      {"//sub//page.html", "<p>page</p>", "text/html; charset=utf-8"},
      {"/data.json?v=2#top", "{\"n\":1}", "application/json"},
      {"/a%20b%20%C3%A9.txt", "blank", "text/plain; charset=utf-8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const ServedFile file = Get(c.path);
    EXPECT_EQ(file.status, 200);
    EXPECT_EQ(file.body, c.body);
    EXPECT_EQ(file.mimeType, c.type);
  }
  // The folder may be named with a trailing separator.
  EXPECT_EQ(ServeFromFolder(app_ + L"\\", "/data.json").body, "{\"n\":1}");
}

TEST_F(ServedFiles, MissingFilesAreNotFound) {
  for (const char* path : {"/missing.js", "/sub/", "/sub/missing/x.html", "/index.html/x"}) {
    SCOPED_TRACE(path);
    const ServedFile file = Get(path);
    EXPECT_EQ(file.status, 404);
    EXPECT_TRUE(file.body.empty());
  }
}

TEST_F(ServedFiles, PathsThatWouldLeaveTheFolderAreRefused) {
  for (const char* path :
       {"/../outside/secret.txt", "/sub/../../outside/secret.txt", "/%2e%2e/outside/secret.txt",
        "/%2E%2E/outside/secret.txt", "/sub/..%2F..%2Foutside%2Fsecret.txt", "/..%5Coutside%5Csecret.txt",
        "/sub%5C..%5C..%5Coutside%5Csecret.txt", "/C:/Windows/win.ini", "/Z:%5Cetc%5Cpasswd",
        "/%5C%5Cserver%5Cshare%5Cx", "/index.html::$DATA", "/con", "/NUL.txt", "/com1", "/index.html.", "/..."}) {
    SCOPED_TRACE(path);
    const ServedFile file = Get(path);
    EXPECT_EQ(file.status, 403);
    EXPECT_TRUE(file.body.empty());
  }
}

TEST_F(ServedFiles, LinksAreFollowedOnlyWhileTheyStayInsideTheFolder) {
  if (!links_) GTEST_SKIP() << "this system cannot make links";
  for (const char* path : {"/link.txt", "/outdir/secret.txt", "/outdir/", "/outdir"}) {
    SCOPED_TRACE(path);
    const ServedFile file = Get(path);
    EXPECT_EQ(file.status, 403);
    EXPECT_EQ(file.body.find("secret"), std::string::npos);
  }
  const ServedFile inside = Get("/inlink.json");
  EXPECT_EQ(inside.status, 200);
  EXPECT_EQ(inside.body, "{\"n\":1}");
}

TEST(ServedFileTypes, ComeFromTheExtensionInAnyLetterCase) {
  const struct {
    const wchar_t* name;
    const char* type;
  } cases[] = {
      {L"app.JS", "text/javascript; charset=utf-8"},
      {L"m.mjs", "text/javascript; charset=utf-8"},
      {L"s.css", "text/css; charset=utf-8"},
      {L"d.json", "application/json"},
      {L"i.svg", "image/svg+xml"},
      {L"p.PNG", "image/png"},
      {L"w.wasm", "application/wasm"},
      {L"f.woff2", "font/woff2"},
      {L"archive.tar.gz", "application/octet-stream"},
      {L"noextension", "application/octet-stream"},
  };
  for (const auto& c : cases) EXPECT_EQ(MimeTypeOf(c.name), c.type) << testhost::Utf8(c.name);
}

}  // namespace
