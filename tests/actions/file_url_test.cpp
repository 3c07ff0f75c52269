// PathToFileURL: full path, drive and network prefixes, percent-encoding of the UTF-8 bytes.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "actions/file_url.h"
#include "support/file_system.h"
#include "testhost/test_env.h"

namespace {

struct UrlCase {
  const char* label;
  std::wstring path;
  std::wstring url;
};
void PrintTo(const UrlCase& c, std::ostream* os) { *os << c.label; }

// Relative paths resolve against C:\windows, set as the current directory for each case.
class FileUrl : public ::testing::TestWithParam<UrlCase> {
 protected:
  void SetUp() override {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    saved_ = current;
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
  }
  void TearDown() override { SetCurrentDirectoryW(saved_.c_str()); }
  std::wstring saved_;
};

TEST_P(FileUrl, IsBuiltFromTheFullPath) {
  EXPECT_EQ(testhost::Utf8(PathToFileURL(GetParam().path)), testhost::Utf8(GetParam().url));
}

INSTANTIATE_TEST_SUITE_P(
    LocalContent, FileUrl,
    ::testing::Values(
        // The three worked examples.
        UrlCase{"DriveWithBlankAndAccent", L"C:\\Web Apps\\D\u00e9mo\\index.html",
                L"file:///C:/Web%20Apps/D%C3%A9mo/index.html"},
        UrlCase{"NetworkWithBlankAndHash", L"\\\\server\\share\\page #1.html", L"file://server/share/page%20%231.html"},
        UrlCase{"PlusAndPercent", L"C:\\a+b\\50%.html", L"file:///C:/a%2Bb/50%25.html"},
        // Every byte outside letters, digits and - _ . ~ / : is encoded.
        UrlCase{"KeptCharacters", L"C:\\aZ09-_.~\\x.html", L"file:///C:/aZ09-_.~/x.html"},
        UrlCase{"EncodedPunctuation", L"C:\\q?&=;,'()!@$[]{}^`\\x.html",
                L"file:///C:/q%3F%26%3D%3B%2C%27%28%29%21%40%24%5B%5D%7B%7D%5E%60/x.html"},
        UrlCase{"ThreeByteLetters", L"C:\\\u65e5\u672c\\x.html", L"file:///C:/%E6%97%A5%E6%9C%AC/x.html"},
        UrlCase{"CharacterBeyondTheBasicPlane", L"C:\\\U0001F600.html", L"file:///C:/%F0%9F%98%80.html"},
        // The full path: normalised, relative to the current directory, trimmed.
        UrlCase{"ForwardSlashesAndDotSteps", L"C:/x/./y/../z.html", L"file:///C:/x/z.html"},
        UrlCase{"Relative", L"sub\\p.html", L"file:///C:/windows/sub/p.html"},
        UrlCase{"RelativeUpward", L"..\\p.html", L"file:///C:/p.html"},
        UrlCase{"RootOfTheCurrentDrive", L"\\p.html", L"file:///C:/p.html"},
        UrlCase{"Trimmed", L" \t C:\\a.html \r\n", L"file:///C:/a.html"},
        UrlCase{"OtherDrive", L"Z:\\tmp\\a.html", L"file:///Z:/tmp/a.html"},
        UrlCase{"NetworkWithSlashes", L"//server/share/a b.html", L"file://server/share/a%20b.html"},
        // An extended-length prefix names the same file; in a URL it would become a host "?".
        UrlCase{"ExtendedLengthDrive", L"\\\\?\\C:\\dir\\a b.html", L"file:///C:/dir/a%20b.html"},
        UrlCase{"ExtendedLengthNetwork", L"\\\\?\\UNC\\server\\share\\a.html", L"file://server/share/a.html"},
        UrlCase{"DevicePrefixDrive", L"\\\\.\\C:\\a.html", L"file:///C:/a.html"}),
    [](const ::testing::TestParamInfo<UrlCase>& info) { return std::string(info.param.label); });

TEST(FullPath, EmptyStaysEmptyAndLongPathsAreWhole) {
  EXPECT_EQ(FullPath(L""), L"");
  // Longer than MAX_PATH: the second call gets a buffer of the size the first reported.
  std::wstring path = L"C:\\";
  while (path.size() < 400) path += L"segment-of-a-long-path\\";
  path += L"page.html";
  EXPECT_EQ(FullPath(path), path);
  EXPECT_EQ(FullPath(path + L"\\..\\x.html"), path.substr(0, path.size() - 9) + L"x.html");
}

}  // namespace
