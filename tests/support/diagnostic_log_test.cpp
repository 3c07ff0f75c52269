// The per-user diagnostic log: where it lands, the three line forms, encoding, sharing.
#include <gtest/gtest.h>
#include <objbase.h>
#include <regex>
#include <thread>
#include <vector>
#include "support/diagnostic_log.h"
#include "import_patch.h"
#include "test_env.h"

using namespace testhost;

namespace {
const std::regex kStamp(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3})");
}

TEST(DiagnosticLog, ThreeLineFormsWithTimestampIdsAndTags) {
  ScopedLocalAppData appData;
  WriteLog(L"plain line");
  WriteDependencyLog(L"dependency line");
  WriteAssetLog(L"asset line");
  const auto lines = appData.LogLines();
  ASSERT_EQ(lines.size(), 3u);
  const std::string ids =
      " | PID=" + std::to_string(GetCurrentProcessId()) + " | TID=" + std::to_string(GetCurrentThreadId()) + " | ";
  for (const auto& line : lines) EXPECT_TRUE(std::regex_search(line, kStamp)) << line;
  EXPECT_EQ(lines[0].substr(23), ids + "plain line");
  EXPECT_EQ(lines[1].substr(23), ids + "NeoBookDependency | dependency line");
  EXPECT_EQ(lines[2].substr(23), " | WebAssets | asset line");
  // Every line ends with CR LF, nothing else separates them, and there is no byte-order mark.
  const std::string raw = appData.Log();
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  EXPECT_NE(raw.substr(0, 3), "\xEF\xBB\xBF");
  size_t crlf = 0;
  for (size_t p = 0; (p = raw.find("\r\n", p)) != std::string::npos; p += 2) ++crlf;
  EXPECT_EQ(crlf, 3u);
}

TEST(DiagnosticLog, TimestampIsTheLocalTime) {
  ScopedLocalAppData appData;
  SYSTEMTIME before;
  GetLocalTime(&before);
  WriteLog(L"x");
  char expected[16];
  snprintf(expected, sizeof expected, "%04u-%02u-%02u ", before.wYear, before.wMonth, before.wDay);
  const auto lines = appData.LogLines();
  ASSERT_EQ(lines.size(), 1u);
  // Written within the same minute unless the test straddles midnight.
  if (before.wHour != 23 || before.wMinute != 59) {
    EXPECT_EQ(lines[0].substr(0, 11), expected);
  }
}

TEST(DiagnosticLog, TextIsWrittenUnchangedAsUtf8) {
  ScopedLocalAppData appData;
  WriteLog(L"");
  WriteLog(L"first\r\nsecond");
  WriteLog(L"\u0416\u00e9\u20ac\U0001F600");
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "");
  EXPECT_EQ(texts[1], "first");
  EXPECT_EQ(texts[2], "second");
  EXPECT_EQ(texts[3], "\xD0\x96\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

// Short lines are built in place and long ones on the heap: either way the bytes are the
// text's UTF-8, whatever the mix of one- and three-byte characters at the boundary.
TEST(DiagnosticLog, LongAndShortTextsAreWrittenWhole) {
  ScopedLocalAppData appData;
  const std::wstring euros128(128, L'\u20ac'), euros129(129, L'\u20ac'), ascii(100000, L'a');
  std::string utf8Euros128, utf8Euros129;
  for (int i = 0; i < 128; ++i) utf8Euros128 += "\xE2\x82\xAC";
  utf8Euros129 = utf8Euros128 + "\xE2\x82\xAC";
  const struct {
    std::wstring text;
    std::string utf8;
  } cases[] = {
      {euros128, utf8Euros128},
      {euros129, utf8Euros129},
      {ascii, std::string(100000, 'a')},
      {ascii + L"\u00e9", std::string(100000, 'a') + "\xC3\xA9"},
      {L"lone \xD800 surrogate", "lone \xEF\xBF\xBD surrogate"},
  };
  for (const auto& c : cases) WriteLog(c.text);
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), std::size(cases));
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], cases[i].utf8) << "case " << i;
}

TEST(DiagnosticLog, LocalAppDataWithOrWithoutTrailingBackslashAndMissingFolders) {
  const ScopedTempDir base(L"log");
  const std::wstring deep = base.path() + L"a\\b";  // neither a nor b exists yet
  {
    ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", nullptr);
    for (const std::wstring& value : {deep, deep + L"\\"}) {
      localAppData.Set(value.c_str());
      WriteLog(L"line");
    }
  }
  const std::string log = ReadFileBytes(deep + L"\\tamrelDesk\\tamrelDesk.log");
  size_t count = 0;
  for (size_t p = 0; (p = log.find("| line\r\n", p)) != std::string::npos; ++p) ++count;
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(GetFileAttributesW((deep + L"\\\\tamrelDesk").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(DiagnosticLog, AnUnwritableFolderDropsTheLineSilently) {
  const ScopedTempDir base(L"logfile");
  // A file where the folder should be: the folder cannot be created.
  ASSERT_TRUE(WriteFileBytes(base.path() + L"tamrelDesk", "not a folder"));
  {
    const ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", base.path().c_str());
    WriteLog(L"lost");
    WriteDependencyLog(L"lost");
    WriteAssetLog(L"lost");
  }
  EXPECT_EQ(ReadFileBytes(base.path() + L"tamrelDesk"), "not a folder");
}

TEST(DiagnosticLog, EveryWriterAppendsWhileAnotherHandleHoldsTheFile) {
  ScopedLocalAppData appData;
  WriteLog(L"create");
  // Another writer (another process, say) holds the file open for appending.
  HANDLE other = CreateFileW(appData.LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  WriteLog(L"plain");
  WriteDependencyLog(L"dependency");
  WriteAssetLog(L"asset");
  DWORD w;
  WriteFile(other, "other\r\n", 7, &w, nullptr);
  CloseHandle(other);
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[1], "plain");
  EXPECT_EQ(texts[2], "NeoBookDependency | dependency");
  EXPECT_EQ(texts[3], "WebAssets | asset");
}

TEST(DiagnosticLog, ConcurrentWritersLoseNoLineAndInterleaveWholeLines) {
  ScopedLocalAppData appData;
  const int perThread = 150;
  auto writer = [&](int kind) {
    for (int i = 0; i < perThread; ++i) {
      const std::wstring text = L"w" + std::to_wstring(kind) + L"-" + std::to_wstring(i);
      if (kind == 0)
        WriteLog(text);
      else if (kind == 1)
        WriteDependencyLog(text);
      else
        WriteAssetLog(text);
    }
  };
  std::thread a(writer, 0), b(writer, 1), c(writer, 2);
  a.join();
  b.join();
  c.join();
  const auto lines = appData.LogLines();
  EXPECT_EQ(lines.size(), static_cast<size_t>(3 * perThread));
  std::vector<int> next(3, 0);
  for (const auto& line : lines) {
    ASSERT_TRUE(std::regex_search(line, kStamp)) << line;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, std::regex(R"(w(\d)-(\d+)$)"))) << line;
    const int kind = std::stoi(m[1]), index = std::stoi(m[2]);
    EXPECT_EQ(index, next[kind]++) << line;  // each writer's lines in its own order
  }
}

namespace {
// Every CreateFileW of this module, with the access it asked for.
std::vector<std::pair<std::wstring, DWORD>> g_opens;
decltype(&CreateFileW) g_realCreateFile = nullptr;

HANDLE WINAPI RecordingCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                                  DWORD flags, HANDLE templateFile) {
  g_opens.emplace_back(name ? name : L"", access);
  return g_realCreateFile(name, access, share, sa, disposition, flags, templateFile);
}

struct RecordOpens {
  HMODULE self = GetModuleHandleW(nullptr);
  RecordOpens() {
    g_opens.clear();
    g_realCreateFile = reinterpret_cast<decltype(&CreateFileW)>(
        PatchImport(self, "CreateFileW", reinterpret_cast<void*>(&RecordingCreateFile)));
  }
  ~RecordOpens() { PatchImport(self, "CreateFileW", reinterpret_cast<void*>(g_realCreateFile)); }
};
}  // namespace

// Lines stay whole without a lock because each is one write through a handle that may only
// append: such a handle writes at the end of the file in one step. Data-write access would
// write at the handle's own offset (over another writer's line), and Windows refuses the
// shared file to a writer asking for more than it needs.
TEST(DiagnosticLog, EveryLineIsOneWriteThroughAnAppendOnlyHandle) {
  ScopedLocalAppData appData;
  WriteLog(L"zero");
  {
    RecordOpens record;
    ASSERT_NE(g_realCreateFile, nullptr);
    WriteLog(L"first");
    WriteDependencyLog(L"second");
    WriteAssetLog(L"third");
  }
  ASSERT_EQ(g_opens.size(), 3u);
  for (const auto& open : g_opens) {
    EXPECT_EQ(Utf8(open.first), Utf8(appData.LogPath()));
    EXPECT_EQ(open.second, static_cast<DWORD>(FILE_APPEND_DATA)) << std::hex << open.second;
  }
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "zero");
  EXPECT_EQ(texts[1], "first");
  EXPECT_EQ(texts[2], "NeoBookDependency | second");
  EXPECT_EQ(texts[3], "WebAssets | third");
}

namespace {
constexpr int kChildren = 4, kLinesPerChild = 400;

// The text of one child's line: its number, the line's index and a run of x whose length
// varies from line to line (up to 6 KB), so a torn or overwritten line cannot go unnoticed.
std::string ChildLineText(int child, int index) {
  const size_t padding = static_cast<size_t>((index * 37 + child * 11) % 97) * ((index % 50 == 0) ? 64 : 1);
  return "p" + std::to_string(child) + "-" + std::to_string(index) + "-" + std::string(padding, 'x');
}

// A child of the test below: in a copy of this program started with the variable set, it
// waits for the common start, writes its lines and ends before any test runs.
const bool g_isLogChild = [] {
  wchar_t value[128];
  const DWORD length = GetEnvironmentVariableW(L"TAMREL_LOG_CHILD", value, 128);
  if (length == 0 || length >= 128) return false;
  const int child = value[0] - L'0';
  HANDLE start = OpenEventW(SYNCHRONIZE, FALSE, value + 2);
  if (start) WaitForSingleObject(start, 30000);
  for (int i = 0; i < kLinesPerChild; ++i) WriteLog(Widen(ChildLineText(child, i)));
  TerminateProcess(GetCurrentProcess(), 0);
  return true;
}();
}  // namespace

TEST(DiagnosticLog, FourProcessesWritingAtOnceLoseNoLineAndTearNone) {
  ScopedLocalAppData appData;
  const std::wstring eventName = L"tamrelLogStart" + std::to_wstring(GetCurrentProcessId());
  HANDLE start = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
  ASSERT_NE(start, nullptr);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::vector<HANDLE> children;
  for (int child = 0; child < kChildren; ++child) {
    const std::wstring value = std::to_wstring(child) + L"|" + eventName;
    const ScopedEnvironmentVariable mark(L"TAMREL_LOG_CHILD", value.c_str());
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=-*";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(process.hThread);
    children.push_back(process.hProcess);
  }
  Sleep(200);  // let every child reach the start line
  SetEvent(start);
  for (HANDLE child : children) {
    EXPECT_EQ(WaitForSingleObject(child, 120000), WAIT_OBJECT_0);
    CloseHandle(child);
  }
  CloseHandle(start);

  const auto lines = appData.LogLines();
  EXPECT_EQ(lines.size(), static_cast<size_t>(kChildren * kLinesPerChild));
  const std::regex form(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} \| PID=\d+ \| TID=\d+ \| (p(\d)-(\d+)-x*)$)");
  std::vector<int> next(kChildren, 0);
  for (const auto& line : lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, form)) << line.substr(0, 200);
    const int child = std::stoi(m[2]), index = std::stoi(m[3]);
    ASSERT_LT(child, kChildren);
    EXPECT_EQ(index, next[child]) << "child " << child;  // each child's lines in its own order
    EXPECT_EQ(m[1].str(), ChildLineText(child, index));
    next[child] = index + 1;
  }
}

namespace {
// Counts the file-system calls this module makes while the holder lives.
int g_fileSystemCalls = 0;
decltype(&GetFileAttributesW) g_realAttributes = nullptr;
decltype(&CreateDirectoryW) g_realCreateDirectory = nullptr;
decltype(&CreateFileW) g_realOpen = nullptr;

DWORD WINAPI CountingAttributes(LPCWSTR path) {
  ++g_fileSystemCalls;
  return g_realAttributes(path);
}
BOOL WINAPI CountingCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES sa) {
  ++g_fileSystemCalls;
  return g_realCreateDirectory(path, sa);
}
HANDLE WINAPI CountingOpen(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                           DWORD flags, HANDLE templateFile) {
  ++g_fileSystemCalls;
  return g_realOpen(name, access, share, sa, disposition, flags, templateFile);
}

struct CountFileSystemCalls {
  HMODULE self = GetModuleHandleW(nullptr);
  CountFileSystemCalls() {
    g_fileSystemCalls = 0;
    g_realAttributes = reinterpret_cast<decltype(&GetFileAttributesW)>(
        PatchImport(self, "GetFileAttributesW", reinterpret_cast<void*>(&CountingAttributes)));
    g_realCreateDirectory = reinterpret_cast<decltype(&CreateDirectoryW)>(
        PatchImport(self, "CreateDirectoryW", reinterpret_cast<void*>(&CountingCreateDirectory)));
    g_realOpen = reinterpret_cast<decltype(&CreateFileW)>(
        PatchImport(self, "CreateFileW", reinterpret_cast<void*>(&CountingOpen)));
  }
  ~CountFileSystemCalls() {
    PatchImport(self, "GetFileAttributesW", reinterpret_cast<void*>(g_realAttributes));
    PatchImport(self, "CreateDirectoryW", reinterpret_cast<void*>(g_realCreateDirectory));
    PatchImport(self, "CreateFileW", reinterpret_cast<void*>(g_realOpen));
  }
};
}  // namespace

// Several thousand characters of folders below a file: the log folder can never be made, and
// trying walks every level of the path. That is paid once for the value, not on every line.
TEST(DiagnosticLog, AFolderThatCannotBeMadeIsRememberedForThatValue) {
  const ScopedTempDir base(L"logdeep");
  ASSERT_TRUE(WriteFileBytes(base.path() + L"blocker", "a file, not a folder"));
  std::wstring hopeless = base.path() + L"blocker";
  while (hopeless.size() < 5000) hopeless += L"\\level";
  ScopedLocalAppData good;
  {
    const ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", hopeless.c_str());
    CountFileSystemCalls count;
    ASSERT_NE(g_realAttributes, nullptr);
    ASSERT_NE(g_realCreateDirectory, nullptr);
    WriteLog(L"lost");
    EXPECT_GT(g_fileSystemCalls, 0);  // the first line did try
    g_fileSystemCalls = 0;
    for (int i = 0; i < 20; ++i) {
      WriteLog(L"lost");
      WriteDependencyLog(L"lost");
      WriteAssetLog(L"lost");
    }
    EXPECT_LE(g_fileSystemCalls, 60);  // at most one per line, never a walk of the path
  }
  EXPECT_EQ(ReadFileBytes(base.path() + L"blocker"), "a file, not a folder");
  // Another value is not affected, and the remembered one stays cheap afterwards.
  WriteLog(L"kept");
  {
    const ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", hopeless.c_str());
    CountFileSystemCalls count;
    WriteLog(L"lost");
    EXPECT_LE(g_fileSystemCalls, 1);
  }
  WriteLog(L"kept too");
  const auto texts = good.LogTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "kept");
  EXPECT_EQ(texts[1], "kept too");
}

// The open is the folder test: a line into an existing folder costs the open alone, and a
// folder removed between two lines is made again by the next one.
TEST(DiagnosticLog, TheOpenTestsTheFolderAndAMissingFolderIsMadeAgain) {
  const ScopedTempDir base(L"logopen");
  const ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", base.path().c_str());
  const std::wstring folder = base.path() + L"tamrelDesk";
  WriteLog(L"first");
  {
    CountFileSystemCalls count;
    ASSERT_NE(g_realOpen, nullptr);
    WriteLog(L"second");
    EXPECT_EQ(g_fileSystemCalls, 1);
  }
  ASSERT_TRUE(DeleteFileW((folder + L"\\tamrelDesk.log").c_str()));
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  WriteLog(L"third");
  const std::string log = ReadFileBytes(folder + L"\\tamrelDesk.log");
  EXPECT_NE(log.find("| third\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("| second"), std::string::npos);
}

TEST(ComApartmentCheck, NamesTheApartmentTypeOfTheCallingThread) {
  ScopedLocalAppData appData;
  std::vector<std::string> lines;
  auto logFrom = [&](DWORD init) {
    std::thread t([&] {
      if (init != 0xFFFFFFFF) CoInitializeEx(nullptr, init);
      LogComApartment();
      if (init != 0xFFFFFFFF) CoUninitialize();
    });
    t.join();
  };
  logFrom(COINIT_APARTMENTTHREADED);
  logFrom(COINIT_MULTITHREADED);
  logFrom(0xFFFFFFFF);
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), 3u);
  const std::regex form(R"(^COM apartment: HRESULT=0x[0-9A-F]{8}, Type=(.+) \((-?\d+)\), Qualifier=(-?\d+)$)");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(texts[0], m, form)) << texts[0];
  EXPECT_EQ(texts[0].substr(0, 36), "COM apartment: HRESULT=0x00000000, T");
  // The first single-threaded apartment of a process is its main one.
  EXPECT_TRUE((m[1] == "STA" && m[2] == "0") || (m[1] == "MAINSTA" && m[2] == "3")) << texts[0];
  ASSERT_TRUE(std::regex_match(texts[1], m, form)) << texts[1];
  EXPECT_EQ(m[1], "MTA");
  EXPECT_EQ(m[2], "1");
  // Without COM the call fails; whatever type it leaves outside 0 to 3 is unknown.
  ASSERT_TRUE(std::regex_match(texts[2], m, form)) << texts[2];
  const int type = std::stoi(m[2]);
  if (type < 0 || type > 3) {
    EXPECT_EQ(m[1], "Unknown/Not initialized");
  }
  EXPECT_NE(texts[2].find("HRESULT=0x8"), std::string::npos) << texts[2];
}

TEST(ComApartmentCheck, LineNamesEveryTypeValue) {
  const struct {
    long hr;
    int type, qualifier;
    const char* line;
  } cases[] = {
      {0, 0, 0, "COM apartment: HRESULT=0x00000000, Type=STA (0), Qualifier=0"},
      {0, 1, 1, "COM apartment: HRESULT=0x00000000, Type=MTA (1), Qualifier=1"},
      {0, 2, 0, "COM apartment: HRESULT=0x00000000, Type=NA (2), Qualifier=0"},
      {0, 3, 0, "COM apartment: HRESULT=0x00000000, Type=MAINSTA (3), Qualifier=0"},
      {static_cast<long>(0x800401F0), -1, -1,
       "COM apartment: HRESULT=0x800401F0, Type=Unknown/Not initialized (-1), Qualifier=-1"},
      {0, 4, 7, "COM apartment: HRESULT=0x00000000, Type=Unknown/Not initialized (4), Qualifier=7"},
      {0xB, 0, 0, "COM apartment: HRESULT=0x0000000B, Type=STA (0), Qualifier=0"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8(ComApartmentLine(c.hr, c.type, c.qualifier)), c.line);
}
