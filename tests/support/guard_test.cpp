// The guard policy: what each kind of caught failure says, and that a guarded body never lets
// one through.
#include "support/guard.h"
#include <gtest/gtest.h>
#include <functional>
#include <new>
#include <stdexcept>
#include "support/errors.h"

namespace {
struct FailureCase {
  const char* label;
  std::function<void()> raise;
  TFailureKind kind;
  std::wstring message, description;
};

TFailure Caught(const std::function<void()>& raise) {
  try {
    raise();
  } catch (...) {
    return CurrentFailure();
  }
  return {TFailureKind::Unknown, L"nothing was raised"};
}
}  // namespace

TEST(Guard, EachKindOfFailureSaysWhatItIs) {
  const FailureCase cases[] = {
      {"raised", [] { Fail(L"Rectangle \"A\" was not found."); }, TFailureKind::Raised,
       L"Rectangle \"A\" was not found.", L"TamrelError: Rectangle \"A\" was not found."},
      {"allocation", [] { throw std::bad_alloc(); }, TFailureKind::OutOfMemory, L"Out of memory.",
       L"std::bad_alloc: Out of memory."},
      {"standard", [] { throw std::runtime_error("vector too long"); }, TFailureKind::Standard, L"vector too long",
       L"std::exception: vector too long"},
      {"other", [] { throw 42; }, TFailureKind::Unknown, L"", L"unknown: Unexpected failure."},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.label);
    const TFailure failure = Caught(c.raise);
    EXPECT_EQ(failure.Kind, c.kind);
    EXPECT_EQ(failure.Message, c.message);
    EXPECT_EQ(DescribeFailure(failure), c.description);
  }
}

TEST(Guard, GuardedBodiesGiveTheirResultOrTheFallbackAndReportOnce) {
  EXPECT_EQ(Guarded(-1, [] { return 7; }), 7);
  EXPECT_EQ(Guarded(-1, []() -> int { throw 42; }), -1);

  std::vector<std::wstring> reports;
  const auto report = [&](const TFailure& f) { reports.push_back(f.Message); };
  EXPECT_EQ(Guarded(
                0, [] { return 3; }, report),
            3);
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Guarded(
                0, []() -> int { Fail(L"first"); }, report),
            0);
  EXPECT_EQ(reports, std::vector<std::wstring>{L"first"});

  // A report that fails itself is dropped too: the edge still returns its fallback.
  EXPECT_EQ(Guarded(
                5, []() -> int { throw std::bad_alloc(); }, [](const TFailure&) { throw 1; }),
            5);

  bool ran = false;
  GuardedCall([&] {
    ran = true;
    throw std::runtime_error("x");
  });
  EXPECT_TRUE(ran);
}
