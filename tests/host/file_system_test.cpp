// Whether a path names a file or a folder; links are judged by what they lead to.
#include <gtest/gtest.h>
#include "support/file_system.h"
#include "test_env.h"
#include "test_links.h"

using namespace testhost;

TEST(PathTests, FilesFoldersAndNothing) {
  const std::wstring dir = MakeTempDir(L"paths");
  ASSERT_TRUE(WriteFileBytes(dir + L"page.html", "x"));
  ASSERT_TRUE(CreateDirectoryW((dir + L"sub").c_str(), nullptr));
  const struct {
    std::wstring path;
    bool file, folder;
  } cases[] = {
      {dir + L"page.html", true, false}, {dir + L"sub", false, true},    {dir + L"sub\\", false, true},
      {dir + L"missing", false, false},  {L"", false, false},            {dir + L"page.html\\x", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExistsAt(c.path), c.file) << Utf8(c.path);
    EXPECT_EQ(DirectoryExistsAt(c.path), c.folder) << Utf8(c.path);
  }
  RemoveTree(dir);
}

TEST(PathTests, ALinkIsWhatItLeadsTo) {
  const std::wstring dir = MakeTempDir(L"links");
  ASSERT_TRUE(CreateDirectoryW((dir + L"real").c_str(), nullptr));
  if (!MakeDirectoryLink(dir + L"alias", dir + L"real")) GTEST_SKIP() << "this system cannot make directory links";
  EXPECT_TRUE(DirectoryExistsAt(dir + L"alias"));
  EXPECT_FALSE(FileExistsAt(dir + L"alias"));
  // Once the folder is gone, the link leads nowhere: it is neither a folder nor a file.
  ASSERT_TRUE(RemoveDirectoryW((dir + L"real").c_str()));
  EXPECT_FALSE(DirectoryExistsAt(dir + L"alias"));
  EXPECT_FALSE(FileExistsAt(dir + L"alias"));
  RemoveDirectoryLink(dir + L"alias");
  RemoveTree(dir);
}
