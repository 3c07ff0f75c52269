// The per-user diagnostic log: where it lands, the three line forms, encoding, sharing.
#include <gtest/gtest.h>
#include <objbase.h>
#include <regex>
#include <thread>
#include <map>
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
// Windows grants LockFileEx only on a handle opened with read or write data access; Wine
// grants it on any handle. These stand-ins apply Windows' rule to the calls of this module.
std::map<HANDLE, DWORD> g_openedAccess;
int g_locksGranted = 0, g_locksRefused = 0;
decltype(&CreateFileW) g_realCreateFile = nullptr;
decltype(&LockFileEx) g_realLockFileEx = nullptr;

HANDLE WINAPI RecordingCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                                  DWORD flags, HANDLE templateFile) {
  HANDLE h = g_realCreateFile(name, access, share, sa, disposition, flags, templateFile);
  if (h != INVALID_HANDLE_VALUE) g_openedAccess[h] = access;
  return h;
}

BOOL WINAPI WindowsRuleLockFileEx(HANDLE h, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED region) {
  const DWORD dataAccess = GENERIC_READ | GENERIC_WRITE | GENERIC_ALL | FILE_READ_DATA | FILE_WRITE_DATA;
  const auto opened = g_openedAccess.find(h);
  if (opened == g_openedAccess.end() || !(opened->second & dataAccess)) {
    ++g_locksRefused;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  ++g_locksGranted;
  return g_realLockFileEx(h, flags, reserved, low, high, region);
}

struct WindowsLockRule {
  HMODULE self = GetModuleHandleW(nullptr);
  WindowsLockRule() {
    g_locksGranted = g_locksRefused = 0;
    g_realCreateFile = reinterpret_cast<decltype(&CreateFileW)>(
        PatchImport(self, "CreateFileW", reinterpret_cast<void*>(&RecordingCreateFile)));
    g_realLockFileEx = reinterpret_cast<decltype(&LockFileEx)>(
        PatchImport(self, "LockFileEx", reinterpret_cast<void*>(&WindowsRuleLockFileEx)));
  }
  ~WindowsLockRule() {
    PatchImport(self, "CreateFileW", reinterpret_cast<void*>(g_realCreateFile));
    PatchImport(self, "LockFileEx", reinterpret_cast<void*>(g_realLockFileEx));
    g_openedAccess.clear();
  }
};
}  // namespace

// The lock that keeps concurrent lines whole must be one Windows grants, and the handle
// must still append (a handle with write-data access would write at offset 0).
TEST(DiagnosticLog, EveryLineIsWrittenUnderALockThatWindowsGrants) {
  ScopedLocalAppData appData;
  {
    WindowsLockRule rule;
    ASSERT_NE(g_realCreateFile, nullptr);
    ASSERT_NE(g_realLockFileEx, nullptr);
    WriteLog(L"first");
    WriteDependencyLog(L"second");
    WriteAssetLog(L"third");
    EXPECT_EQ(g_locksRefused, 0);
    EXPECT_EQ(g_locksGranted, 3);
  }
  const auto texts = appData.LogTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "first");
  EXPECT_EQ(texts[1], "NeoBookDependency | second");
  EXPECT_EQ(texts[2], "WebAssets | third");
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
