// ExecuteJS on the real engine: the JSON text WebView2 gives for each kind of result.
#include "chromium_fixture.h"

namespace chromiumtest {
namespace {

class Scripts : public ChromiumTest {
 protected:
  void SetUp() override { ReadyHost("Js"); }
};

TEST_F(Scripts, ResultsAsJson) {
  const struct {
    std::wstring script;
    std::wstring json;
  } cases[] = {
      {L"'Gr\u00fc\u00dfe, \u00e9t\u00e9'", L"\"Gr\u00fc\u00dfe, \u00e9t\u00e9\""},
      {L"'say \"hi\" \\\\ back'", L"\"say \\\"hi\\\" \\\\ back\""},
      {L"'line1\\nline2\\ttab'", L"\"line1\\nline2\\ttab\""},
      {L"''", L"\"\""},
      {L"42", L"42"},
      {L"-2.5e-3", L"-0.0025"},
      {L"0.1 + 0.2", L"0.30000000000000004"},
      {L"1 / 0", L"null"},
      {L"-0", L"0"},
      {L"true", L"true"},
      {L"1 > 2", L"false"},
      {L"null", L"null"},
      {L"({b: 1, a: 'x', n: {z: [true]}})", L"{\"b\":1,\"a\":\"x\",\"n\":{\"z\":[true]}}"},
      {L"[1, 'two', null, undefined]", L"[1,\"two\",null,null]"},
      {L"undefined", L"null"},
      {L"(function () {})", L"null"},
      {L"var o = {}; o.self = o; o", L"null"},
      {L"throw new Error('boom')", L"null"},
      {L"Promise.resolve(5)", L"{}"},
      {L"new Date(0)", L"\"1970-01-01T00:00:00.000Z\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testhost::Utf8(c.script));
    EXPECT_EQ(Eval("Js", testhost::Ansi(c.script)), testhost::Ansi(c.json));
  }
}

TEST_F(Scripts, TwoScriptsInFlightLandInTheirOwnVariables) {
  // Both start before either completes: the second is slower to compute than the first.
  ASSERT_EQ(Exec(4, {"Js", "'first'", "[r1]"}), 1);
  ASSERT_EQ(Exec(4, {"Js", "var s = 0; for (var i = 0; i < 3e6; ++i) s += i; 'second ' + (s > 0)", "[r2]"}), 1);
  ASSERT_TRUE(testhost::PumpUntil([&] { return Host().HasVar("[r1]") && Host().HasVar("[r2]"); }, 20000));
  EXPECT_EQ(Host().Var("[r1]"), "\"first\"");
  EXPECT_EQ(Host().Var("[r2]"), "\"second true\"");
}

}  // namespace
}  // namespace chromiumtest
