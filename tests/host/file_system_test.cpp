// Whether a path names a file or a folder (links are judged by what they lead to), and the form
// of a path that file-system calls are given.
#include <gtest/gtest.h>
#include <cwchar>
#include <vector>
#include "host/file_system.h"
#include "host/file_system_path.h"
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

// ---- the form file-system calls are given -----------------------------------------------------

namespace {
// "d0000000\d0000001\..." filled up so that `head` + the filler + `tail` has exactly `total`
// characters; the filler never begins or ends with a separator.
std::wstring Filler(const std::wstring& head, size_t total, const std::wstring& tail) {
  std::wstring middle;
  for (int i = 0; head.size() + middle.size() + tail.size() < total; ++i) {
    wchar_t segment[16];
    swprintf(segment, 16, L"d%07d\\", i);
    middle += segment;
  }
  middle.resize(total - head.size() - tail.size());
  if (!middle.empty() && middle.back() == L'\\') middle.back() = L'x';
  return middle;
}

struct FormCase {
  const char* label;
  std::wstring path, expected;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.label; }

std::vector<FormCase> FormCases() {
  const std::wstring x = L"\\x.html";
  const std::wstring long259 = Filler(L"C:\\", 259, x);          // C:\ + this + \x.html is 259 long
  const std::wstring long260 = Filler(L"C:\\", 260, x);
  const std::wstring body = Filler(L"", 300, L"");                // some 300 characters below a root
  std::wstring slashed = body;
  for (auto& c : slashed)
    if (c == L'\\') c = L'/';
  return {
      {"Empty", L"", L""},
      {"ShortDrive", L"C:\\a\\b.html", L"C:\\a\\b.html"},
      {"ShortPathsAreLeftToTheSystem", L"C:/a/./b/../c.html", L"C:/a/./b/../c.html"},
      {"ShortNetwork", L"\\\\server\\share\\a.html", L"\\\\server\\share\\a.html"},
      {"Drive259", L"C:\\" + long259 + x, L"C:\\" + long259 + x},
      {"Drive260", L"C:\\" + long260 + x, L"\\\\?\\C:\\" + long260 + x},
      {"LongDrive", L"C:\\" + body, L"\\\\?\\C:\\" + body},
      {"LongNetwork", L"\\\\server\\share\\" + body, L"\\\\?\\UNC\\server\\share\\" + body},
      {"LongForwardSlashes", L"C:/" + slashed + L"/x.html", L"\\\\?\\C:\\" + body + x},
      {"LongNetworkForwardSlashes", L"//server/share/" + slashed, L"\\\\?\\UNC\\server\\share\\" + body},
      {"LongDotDot", L"C:\\" + body + L"\\gone\\deeper\\..\\..\\x.html", L"\\\\?\\C:\\" + body + x},
      {"LongDot", L"C:\\" + body + L"\\.\\x.html\\.", L"\\\\?\\C:\\" + body + x},
      {"LongTrailingSeparator", L"C:\\" + body + L"\\", L"\\\\?\\C:\\" + body + L"\\"},
      {"LongDoubledSeparators", L"C:\\" + body + L"\\\\x.html", L"\\\\?\\C:\\" + body + x},
      {"LongDevicePrefix", L"\\\\.\\C:\\" + body, L"\\\\?\\C:\\" + body},
      // Not full paths: nothing to prefix.
      {"LongRootedOnTheCurrentDrive", L"\\" + body, L"\\" + body},
      {"LongRelative", body, body},
      {"LongDriveRelative", L"C:" + body, L"C:" + body},
      // Already extended-length, whatever the length: the system takes the text literally.
      {"ExtendedAsIs", L"\\\\?\\C:\\a\\b.html", L"\\\\?\\C:\\a\\b.html"},
      {"ExtendedLongAsIs", L"\\\\?\\C:\\" + body, L"\\\\?\\C:\\" + body},
      {"ExtendedSlashesAndDots", L"\\\\?\\C:\\app/pages/./../index.html", L"\\\\?\\C:\\app\\index.html"},
      {"ExtendedDoubledSeparator", L"\\\\?\\C:\\app\\\\index.html", L"\\\\?\\C:\\app\\index.html"},
      {"ExtendedTrailingSeparator", L"\\\\?\\C:\\app\\", L"\\\\?\\C:\\app\\"},
      {"ExtendedDriveRoot", L"\\\\?\\C:\\", L"\\\\?\\C:\\"},
      {"ExtendedUpToTheRoot", L"\\\\?\\C:\\app\\..", L"\\\\?\\C:\\"},
      {"ExtendedNotAboveTheRoot", L"\\\\?\\C:\\..\\..\\x.html", L"\\\\?\\C:\\x.html"},
      {"ExtendedNetwork", L"\\\\?\\UNC\\server\\share\\app/../a.html", L"\\\\?\\UNC\\server\\share\\a.html"},
      {"ExtendedNetworkNotAboveTheShare", L"\\\\?\\UNC\\server\\share\\..\\a.html",
       L"\\\\?\\UNC\\server\\share\\a.html"},
      {"ExtendedNetworkRoot", L"\\\\?\\UNC\\server\\share\\", L"\\\\?\\UNC\\server\\share\\"},
      {"ExtendedNetworkLowerCase", L"\\\\?\\unc\\server\\share\\a\\..\\b", L"\\\\?\\unc\\server\\share\\b"},
  };
}

class FileSystemForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(FileSystemForm, IsExtendedLengthFromMaxPathOnAndNormalisedThere) {
  EXPECT_EQ(Utf8(FileSystemPath(GetParam().path)), Utf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Paths, FileSystemForm, ::testing::ValuesIn(FormCases()),
                         [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.label); });
}  // namespace

TEST(PathJoin, PutsExactlyOneSeparatorBetweenFolderAndNameAndKeepsRoots) {
  const struct {
    std::wstring folder, name, joined;
  } cases[] = {
      {L"C:\\app", L"index.html", L"C:\\app\\index.html"},
      {L"C:\\app\\", L"index.html", L"C:\\app\\index.html"},
      {L"C:/app/", L"index.html", L"C:/app/index.html"},
      {L"C:\\", L"index.html", L"C:\\index.html"},
      {L"\\\\?\\C:\\", L"index.html", L"\\\\?\\C:\\index.html"},
      {L"\\\\?\\C:\\app\\", L"*.*", L"\\\\?\\C:\\app\\*.*"},
      {L"\\\\server\\share\\", L"a.html", L"\\\\server\\share\\a.html"},
      {L"\\\\server\\share", L"a.html", L"\\\\server\\share\\a.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8(JoinPath(c.folder, c.name)), Utf8(c.joined)) << Utf8(c.folder);
}
