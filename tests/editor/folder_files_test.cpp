// Confirming the editor of action 18 (or of action 25, which serves a folder) registers the
// files of the chosen folder with the host.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "editor_driver.h"
#include "test_links.h"
#include "testhost/test_env.h"

using namespace editortest;
using testhost::Ansi;

namespace {

constexpr int kLoadFolder = 18;
constexpr int kServeFolder = 25;

std::wstring Full(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
  return std::wstring(buffer, n);
}

// The files below `folder` in the order the system enumerates them, each subfolder's files
// where the subfolder is met.
void ExpectedWalk(const std::wstring& folder, std::vector<std::string>& out) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ExpectedWalk(folder + L"\\" + name, out);
    else
      out.push_back(Ansi(Full(folder + L"\\" + name)));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

using testhost::MakeDirectoryLink;
using testhost::RemoveDirectoryLink;

class FolderRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Start();
    parent_ = testhost::MakeTempDir(L"ed");
    root_ = parent_ + L"app";
    CreateDirectoryW(root_.c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\sub").c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\sub\\deeper").c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\empty").c_str(), nullptr);
    for (const wchar_t* file :
         {L"index.html", L"app.js", L"hidden.dat", L"system.dat", L"sub\\style.css", L"sub\\deeper\\logo.png"})
      testhost::WriteFileBytes(root_ + L"\\" + file, "x");
    SetFileAttributesW((root_ + L"\\hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((root_ + L"\\system.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);
    // Registering the loader at start-up may already have added a file.
    filesBefore_ = host_.CallsOf(testhost::CallKind::AddFile).size();
  }
  void TearDown() override {
    // Links first, so that removing the tree does not walk through them.
    for (const wchar_t* link : {L"\\sub\\deeper\\up", L"\\alias"}) RemoveDirectoryLink(root_ + link);
    SetFileAttributesW((root_ + L"\\hidden.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW((root_ + L"\\system.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    testhost::RemoveTree(parent_);
  }

  // The files registered since SetUp; every call must carry the flag 1.
  std::vector<std::string> Registered() {
    std::vector<std::string> paths;
    const auto calls = host_.CallsOf(testhost::CallKind::AddFile);
    for (size_t i = filesBefore_; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].flag, 1);
      paths.push_back(calls[i].text);
    }
    return paths;
  }

  bool Confirm(const std::string& folder, bool ok = true) {
    ParamArray params(host_, {"Rect1", folder.c_str(), "index.html"});
    const bool result = EditWithDialog(host_, kLoadFolder, params.data(), params.high(),
                                       [ok](HWND dialog) { Click(Button(dialog, ok ? L"OK" : L"Cancel")); });
    writtenFolder_ = params.at(1);
    return result;
  }

  testhost::ScopedLocalAppData appData_;
  testhost::TestHost host_;
  std::wstring parent_, root_;
  size_t filesBefore_ = 0;
  std::string writtenFolder_;
};

TEST_F(FolderRegistration, ConfirmRegistersEveryFileBelowTheFolderInWalkOrder) {
  std::vector<std::string> expected;
  ExpectedWalk(root_, expected);
  ASSERT_EQ(expected.size(), 6u);
  EXPECT_TRUE(Confirm(Ansi(root_)));
  EXPECT_EQ(Registered(), expected);
}

TEST_F(FolderRegistration, ServedFolderEditorRegistersTheFolderAsTheLoadEditorDoes) {
  std::vector<std::string> expected;
  ExpectedWalk(root_, expected);
  for (const bool ok : {false, true}) {
    ParamArray params(host_, {"Rect1", Ansi(root_).c_str(), "", "app.example"});
    EXPECT_EQ(EditWithDialog(host_, kServeFolder, params.data(), params.high(),
                             [ok](HWND dialog) { Click(Button(dialog, ok ? L"OK" : L"Cancel")); }),
              ok);
    EXPECT_EQ(params.at(3), "app.example");
    // Cancelled: nothing; confirmed: every file, as for a loaded folder.
    EXPECT_EQ(Registered(), ok ? expected : std::vector<std::string>{});
  }
}

TEST_F(FolderRegistration, TypedFolderIsTheOneRegistered) {
  ParamArray params(host_, {"Rect1", "C:\\nowhere", ""});
  EXPECT_TRUE(EditWithDialog(host_, kLoadFolder, params.data(), params.high(), [this](HWND dialog) {
    Type(Fields(dialog)[1].input.hwnd, root_ + L"\\sub");
    Click(Button(dialog, L"OK"));
  }));
  std::vector<std::string> expected;
  ExpectedWalk(root_ + L"\\sub", expected);
  EXPECT_EQ(Registered(), expected);
}

TEST_F(FolderRegistration, RelativeFolderResolvesAgainstTheCurrentDirectory) {
  wchar_t saved[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, saved);
  SetCurrentDirectoryW(parent_.c_str());
  const bool result = Confirm("app\\sub");
  SetCurrentDirectoryW(saved);
  EXPECT_TRUE(result);
  EXPECT_EQ(writtenFolder_, "app\\sub") << "the parameter keeps the text as entered";
  std::vector<std::string> expected;
  ExpectedWalk(root_ + L"\\sub", expected);
  ASSERT_EQ(expected.size(), 2u);
  EXPECT_EQ(Registered(), expected);
  for (const std::string& path : Registered()) EXPECT_EQ(path.rfind(Ansi(parent_), 0), 0u) << path;
}

TEST_F(FolderRegistration, ConfirmingTwiceRegistersTwice) {
  EXPECT_TRUE(Confirm(Ansi(root_)));
  EXPECT_TRUE(Confirm(Ansi(root_)));
  std::vector<std::string> once;
  ExpectedWalk(root_, once);
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Registered(), twice);
}

TEST_F(FolderRegistration, NothingIsRegisteredWhenCancelledOrTheFolderIsMissing) {
  EXPECT_FALSE(Confirm(Ansi(root_), false));
  EXPECT_EQ(writtenFolder_, Ansi(root_)) << "Cancel leaves the parameter alone";
  const std::string missing = Ansi(root_ + L"\\no-such-folder");
  EXPECT_TRUE(Confirm(missing));
  EXPECT_EQ(writtenFolder_, missing) << "still written back";
  EXPECT_TRUE(Confirm(Ansi(root_ + L"\\index.html"))) << "a file is not a folder";
  EXPECT_TRUE(Confirm(""));
  EXPECT_TRUE(Registered().empty());
}

TEST_F(FolderRegistration, NeedsTheFolderEntryAndTheAddFileCallback) {
  {
    ParamArray params(host_, {"Rect1"});  // no folder entry in the host's array
    EXPECT_TRUE(EditWithDialog(host_, kLoadFolder, params.data(), params.high(), [this](HWND dialog) {
      Type(Fields(dialog)[1].input.hwnd, root_);
      Click(Button(dialog, L"OK"));
    }));
    EXPECT_TRUE(Registered().empty());
  }
  testhost::TestHost bare;  // a plug-in that never got the add-file callback
  bare.Register(/*addFile=*/false);
  ParamArray params(bare, {"Rect1", Ansi(root_).c_str(), ""});
  EXPECT_TRUE(EditWithDialog(bare, kLoadFolder, params.data(), params.high(),
                             [](HWND dialog) { Click(Button(dialog, L"OK")); }));
  EXPECT_TRUE(bare.CallsOf(testhost::CallKind::AddFile).empty());
}

TEST_F(FolderRegistration, FolderIsTrimmedAsTheRunTimeActionTrimsIt) {
  EXPECT_TRUE(Confirm(" \t" + Ansi(root_) + "  "));
  EXPECT_EQ(writtenFolder_, " \t" + Ansi(root_) + "  ") << "the parameter keeps the text as entered";
  std::vector<std::string> expected;
  ExpectedWalk(root_, expected);
  EXPECT_EQ(Registered(), expected);
}

// "\\?\" paths are taken literally by the system: a doubled separator after a trailing one
// names nothing, so the folder and each name are joined with exactly one.
TEST_F(FolderRegistration, ExtendedLengthFolderWithATrailingSeparatorRegistersItsFiles) {
  std::vector<std::string> walk;
  ExpectedWalk(root_, walk);
  std::vector<std::string> expected;
  for (const std::string& path : walk) expected.push_back("\\\\?\\" + path);
  for (const std::string& folder : {"\\\\?\\" + Ansi(root_) + "\\", "\\\\?\\" + Ansi(root_)}) {
    SCOPED_TRACE(folder);
    filesBefore_ = host_.CallsOf(testhost::CallKind::AddFile).size();
    EXPECT_TRUE(Confirm(folder));
    EXPECT_EQ(Registered(), expected);
  }
}

// Windows refuses paths of MAX_PATH characters or more without the extended-length prefix and
// takes a prefixed path literally; the plug-in's file-system calls keep those rules here. The
// files are registered under their plain full paths.
TEST_F(FolderRegistration, FolderOfMaxPathOrLongerIsWalkedUnderWindowsPathRules) {
  const std::wstring deep = testhost::MakeDeepFolder(root_ + L"\\sub", 300);
  ASSERT_FALSE(deep.empty());
  ASSERT_TRUE(CreateDirectoryW((deep + L"\\inner").c_str(), nullptr));
  for (const wchar_t* file : {L"\\a.html", L"\\inner\\b.js"}) ASSERT_TRUE(testhost::WriteFileBytes(deep + file, "x"));
  std::vector<std::string> expected;
  ExpectedWalk(deep, expected);
  ASSERT_EQ(expected.size(), 2u);
  host_.KeepWindowsPathRules();
  EXPECT_TRUE(Confirm(Ansi(deep)));
  EXPECT_EQ(Registered(), expected);

  std::vector<std::string> prefixed;
  for (const std::string& path : expected) prefixed.push_back("\\\\?\\" + path);
  filesBefore_ = host_.CallsOf(testhost::CallKind::AddFile).size();
  EXPECT_TRUE(Confirm("\\\\?\\" + Ansi(deep) + "\\"));
  EXPECT_EQ(Registered(), prefixed);
}

// The host takes ANSI paths: a name the code page cannot hold would arrive with "?" in it and
// name no file. Such a file is left out with a log line; the others are registered.
TEST_F(FolderRegistration, FileOutsideTheAnsiCodePageIsSkippedWithALogLine) {
  const std::wstring name = L"\x4E2D\x6587.txt";
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (!lossy) GTEST_SKIP() << "the ANSI code page holds these characters";
  std::vector<std::string> expected;
  ExpectedWalk(root_, expected);
  const std::wstring odd = root_ + L"\\sub\\" + name;
  if (!testhost::WriteFileBytes(odd, "x")) GTEST_SKIP() << "the file system here cannot hold this name";
  EXPECT_TRUE(Confirm(Ansi(root_)));
  EXPECT_EQ(Registered(), expected);
  const std::vector<std::string> log = appData_.LogTexts();
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "Cannot register a path outside the ANSI code page: " + testhost::Utf8(Full(odd))),
            log.end());
}

// A directory link under the folder that leads back up (or sideways to a folder walked
// anyway) must not make the walk loop: every real directory is walked once.
TEST_F(FolderRegistration, DirectoryLinkCyclesAreWalkedOnce) {
  if (!MakeDirectoryLink(root_ + L"\\sub\\deeper\\up", root_) ||
      !MakeDirectoryLink(root_ + L"\\alias", root_ + L"\\sub"))
    GTEST_SKIP() << "this system cannot make directory links";
  EXPECT_TRUE(Confirm(Ansi(root_)));
  std::map<std::string, int> names;
  for (const std::string& path : Registered()) ++names[path.substr(path.find_last_of('\\') + 1)];
  const std::map<std::string, int> once = {{"index.html", 1}, {"app.js", 1},    {"hidden.dat", 1},
                                           {"system.dat", 1}, {"style.css", 1}, {"logo.png", 1}};
  EXPECT_EQ(names, once);
}

}  // namespace
