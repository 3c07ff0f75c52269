// The fuzz run's log check must reject what a broken writer leaves: a line without its fields,
// a partial last line, two lines run together, invalid UTF-8, another thread's id.
#include <gtest/gtest.h>
#include <string>
#include "log_check.h"

namespace {
struct LogCase {
  const char* label;
  std::string bytes;
  bool wellFormed;
};
void PrintTo(const LogCase& c, std::ostream* os) { *os << c.label; }

soak::TLogForm Form() {
  soak::TLogForm form;
  form.processId = 42;
  form.threadId = 7;
  form.timeSeparator = ":";
  form.continuationMark = "\xC2\xB6";
  return form;
}

const std::string kStamp = "2026-12-10 14:05:09.007";
const std::string kLine = kStamp + " | PID=42 | TID=7 | tamrelCreate called for Rectangle \"Rect1\"\r\n";

class LogForm : public ::testing::TestWithParam<LogCase> {};
}  // namespace

TEST_P(LogForm, TellsWellFormedFromBroken) {
  const LogCase& c = GetParam();
  const std::string fault = soak::FirstLogFault(c.bytes, Form());
  if (c.wellFormed) {
    EXPECT_EQ(fault, "");
  } else {
    EXPECT_NE(fault, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LogForm,
    ::testing::Values(
        LogCase{"Empty", "", true}, LogCase{"OneLine", kLine, true},
        LogCase{"EmptyText", kStamp + " | PID=42 | TID=7 | \r\n", true},
        LogCase{"ThreeWriters",
                kLine + kStamp + " | PID=42 | TID=7 | NeoBookDependency | found\r\n" + kStamp + " | WebAssets | x\r\n",
                true},
        LogCase{"TextWithUtf8", kStamp + " | PID=42 | TID=7 | caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n", true},
        LogCase{"MarkedContinuation", kStamp + " | PID=42 | TID=7 | a\r\n\xC2\xB6 b\"\r\n" + kLine, true},
        LogCase{"BarsInTheText", kStamp + " | PID=42 | TID=7 | Browser event: TitleChanged | a | b\r\n", true},
        LogCase{"PartialLastLine", kLine + kStamp + " | PID=42 | TID=7 | cut", false},
        LogCase{"UnmarkedContinuation", kStamp + " | PID=42 | TID=7 | a\r\nb\r\n", false},
        LogCase{"ContinuationFirst", "\xC2\xB6 b\r\n", false},
        LogCase{"LinesRunTogether", kStamp + " | PID=42 | TID=7 | a" + kLine, false},
        LogCase{"ByteOrderMark", "\xEF\xBB\xBF" + kLine, false},
        LogCase{"AnsiByte", kStamp + " | PID=42 | TID=7 | caf\xE9\r\n", false},
        LogCase{"OverlongUtf8", kStamp + " | PID=42 | TID=7 | \xC0\xAF\r\n", false},
        LogCase{"EncodedSurrogate", kStamp + " | PID=42 | TID=7 | \xED\xA0\x80\r\n", false},
        LogCase{"CutUtf8", kStamp + " | PID=42 | TID=7 | \xE2\x82\r\n", false},
        LogCase{"OtherThread", kStamp + " | PID=42 | TID=8 | x\r\n", false},
        LogCase{"OtherProcess", kStamp + " | PID=43 | TID=7 | x\r\n", false},
        LogCase{"LeadingZeroId", kStamp + " | PID=042 | TID=7 | x\r\n", false},
        LogCase{"NoMilliseconds", "2026-12-10 14:05:09 | PID=42 | TID=7 | x\r\n", false},
        LogCase{"MonthThirteen", "2026-13-10 14:05:09.007 | PID=42 | TID=7 | x\r\n", false},
        LogCase{"BareLineFeedEnd", kStamp + " | PID=42 | TID=7 | x\n", false},
        LogCase{"NoTextSeparator", kStamp + " | PID=42 | TID=7\r\n", false}),
    [](const ::testing::TestParamInfo<LogCase>& info) { return std::string(info.param.label); });
