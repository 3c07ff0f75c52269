// Test entry point: runs the tests, then ends the process at once. Unloading of the
// plug-in is exercised by every TestHost, so nothing is lost by skipping the
// process-exit path, which under Wine can stall after all tests have run.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(rc));
  return rc;
}
