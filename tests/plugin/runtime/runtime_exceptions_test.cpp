// The plug-in's own raisers of the run-time's standard exceptions, linked into this program as
// into the plug-in: the guards still see a standard exception with a text, and a memory
// failure is still a memory failure.
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>
#include "support/guard.h"

namespace {
TFailure FailureOf(void (*body)()) {
  try {
    body();
  } catch (...) {
    return CurrentFailure();
  }
  return {TFailureKind::Unknown, L"nothing was raised"};
}
}  // namespace

TEST(RuntimeExceptions, TheRunTimesFailuresReachTheGuardsAsStandardExceptions) {
  const struct {
    const char* what;
    void (*body)();
    TFailureKind kind;
    std::wstring message;
  } cases[] = {
      {"position out of range", [] { (void)std::string("abc").substr(5); }, TFailureKind::Standard,
       L"std::out_of_range"},
      {"length beyond the maximum",
       [] {
         std::string s;
         s.reserve(s.max_size() + 1);
       },
       TFailureKind::Standard, L"basic_string::_M_create"},
      {"null text", [] { std::string s(static_cast<const char*>(nullptr)); }, TFailureKind::Standard,
       L"basic_string: construction from null is not valid"},
      {"vector too long",
       [] {
         std::vector<int> v;
         v.reserve(v.max_size() + 1);
       },
       TFailureKind::Standard, L"vector::reserve"},
      {"memory", [] { throw std::bad_alloc(); }, TFailureKind::OutOfMemory, L"Out of memory."},
  };
  for (const auto& c : cases) {
    const TFailure failure = FailureOf(c.body);
    EXPECT_EQ(failure.Kind, c.kind) << c.what;
    EXPECT_EQ(failure.Message, c.message) << c.what;
  }
}
