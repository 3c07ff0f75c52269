// The one folder walk: its two orders, the own-files-only walk, link cycles and the policy for
// links that cannot be identified.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "support/directory_walk.h"
#include "test_env.h"
#include "test_links.h"

using namespace testhost;

namespace {
std::vector<std::wstring> Walked(const std::wstring& folder, const TWalkOptions& options) {
  std::vector<std::wstring> relative;
  WalkDirectory(folder, options, [&](const std::wstring& path, const std::wstring& name) {
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    relative.push_back(path.substr(folder.size()));
  });
  return relative;
}

TWalkOptions Options(TWalkOrder order, TUnidentifiedLinks links, bool subfolders = true) {
  TWalkOptions options;
  options.order = order;
  options.unidentifiedLinks = links;
  options.subfolders = subfolders;
  return options;
}

void MakeTree(const std::wstring& dir) {
  for (const wchar_t* folder : {L"sub", L"sub\\deeper", L"Alpha"})
    ASSERT_TRUE(CreateDirectoryW((dir + folder).c_str(), nullptr));
  for (const wchar_t* file : {L"b.txt", L"A.txt", L"z", L"sub\\c.txt", L"sub\\deeper\\d.txt", L"Alpha\\e.txt"})
    ASSERT_TRUE(WriteFileBytes(dir + file, "x"));
}
}  // namespace

TEST(DirectoryWalk, FilesByNameComeBeforeEachSubfolderInTurn) {
  ScopedTempDir dir(L"walk");
  MakeTree(dir.path());
  const auto all = Options(TWalkOrder::woFilesByName, TUnidentifiedLinks::ulSkip);
  EXPECT_EQ(Walked(dir.path(), all), (std::vector<std::wstring>{L"A.txt", L"b.txt", L"z", L"Alpha\\e.txt",
                                                                L"sub\\c.txt", L"sub\\deeper\\d.txt"}));
  const auto own = Options(TWalkOrder::woFilesByName, TUnidentifiedLinks::ulSkip, false);
  EXPECT_EQ(Walked(dir.path(), own), (std::vector<std::wstring>{L"A.txt", L"b.txt", L"z"}));
}

TEST(DirectoryWalk, AsFoundWalksEverySubfolderWhereItStands) {
  ScopedTempDir dir(L"walk");
  MakeTree(dir.path());
  auto walked = Walked(dir.path(), Options(TWalkOrder::woAsFound, TUnidentifiedLinks::ulWalk));
  // Whatever the listing order, a subfolder's files come together, right after each other.
  const auto at = [&](const wchar_t* name) { return std::find(walked.begin(), walked.end(), name) - walked.begin(); };
  EXPECT_EQ(at(L"sub\\deeper\\d.txt") - at(L"sub\\c.txt"), 1) << "sub's own file, then its subfolder's";
  std::sort(walked.begin(), walked.end());
  EXPECT_EQ(walked, (std::vector<std::wstring>{L"A.txt", L"Alpha\\e.txt", L"b.txt", L"sub\\c.txt",
                                               L"sub\\deeper\\d.txt", L"z"}));
}

TEST(DirectoryWalk, ALinkCycleIsWalkedOnceAndADanglingLinkAddsNothing) {
  ScopedTempDir dir(L"walk");
  MakeTree(dir.path());
  if (!MakeDirectoryLink(dir.path() + L"sub\\back", dir.path()))
    GTEST_SKIP() << "this system cannot make directory links";
  for (const auto order : {TWalkOrder::woAsFound, TWalkOrder::woFilesByName})
    EXPECT_EQ(Walked(dir.path(), Options(order, TUnidentifiedLinks::ulWalk)).size(), 6u);

  // A link whose target is gone cannot be identified: walked (and empty) or skipped, never a failure.
  ASSERT_TRUE(CreateDirectoryW((dir.path() + L"gone").c_str(), nullptr));
  RemoveDirectoryLink(dir.path() + L"sub\\back");
  if (!MakeDirectoryLink(dir.path() + L"dangling", dir.path() + L"gone")) GTEST_SKIP();
  ASSERT_TRUE(RemoveDirectoryW((dir.path() + L"gone").c_str()));
  EXPECT_EQ(Walked(dir.path(), Options(TWalkOrder::woFilesByName, TUnidentifiedLinks::ulSkip)).size(), 6u);
  EXPECT_EQ(Walked(dir.path(), Options(TWalkOrder::woAsFound, TUnidentifiedLinks::ulWalk)).size(), 6u);
}
