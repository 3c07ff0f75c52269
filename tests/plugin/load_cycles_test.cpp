// A host may load and unload the plug-in many times in one process: each cycle must give back
// what the C++ run-time took (thread-local storage indexes are few: about 1,088 a process).
#include <gtest/gtest.h>
#include <windows.h>
#include "test_env.h"

using namespace testhost;

namespace {
DWORD NextTlsIndex() {
  const DWORD index = TlsAlloc();
  TlsFree(index);
  return index;
}
}  // namespace

TEST(LoadCycles, TwoThousandLoadsAndUnloadsLoseNoThreadLocalStorageIndex) {
  ScopedTempDir appData(L"cycles");
  ScopedEnvironmentVariable localAppData(L"LOCALAPPDATA", appData.path().c_str());
  const std::wstring plugin = DefaultPluginPath();
  // A Navigate of a Rectangle that has no browser fails through a C++ exception, so each cycle
  // runs the run-time's exception and thread support.
  using ExecAction = int(__attribute__((regparm(3), stdcall))*)(int32_t, char**);
  const DWORD before = NextTlsIndex();
  for (int cycle = 0; cycle < 2000; ++cycle) {
    HMODULE module = LoadLibraryW(plugin.c_str());
    ASSERT_NE(module, nullptr) << "cycle " << cycle << ", error " << GetLastError();
    auto exec = reinterpret_cast<ExecAction>(reinterpret_cast<void*>(GetProcAddress(module, "nbExecAction")));
    ASSERT_NE(exec, nullptr);
    char name[] = "NoSuchRectangle", url[] = "about:blank";
    char* params[2] = {name, url};
    EXPECT_EQ(exec(2, params), 0) << "cycle " << cycle;
    ASSERT_TRUE(FreeLibrary(module));
  }
  EXPECT_EQ(NextTlsIndex(), before);
}
