// The values handed to the host's variable callback: each is exactly its own text, whatever
// came before it, and a value set from within the callback does not disturb the one the host
// is still reading.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "host/host_callbacks.h"
#include "host/host_services.h"

namespace {
struct TSeen {
  std::string name, value;
};
std::vector<TSeen> g_seen;
bool g_reenter = false;

void HOSTCALL RecordingSetVariable(const char* name, const char* value) {
  if (g_reenter) {
    g_reenter = false;
    HostServices().SetVariable(L"[inner]", std::wstring(3000, L'i'));  // before the host reads its value
  }
  g_seen.push_back({name, value});
}

struct TCallbackInPlace {
  SetVariableProc saved = SetVariableCallback;
  TCallbackInPlace() {
    g_seen.clear();
    SetVariableCallback = &RecordingSetVariable;
  }
  ~TCallbackInPlace() { SetVariableCallback = saved; }
};
}  // namespace

TEST(VariableValues, EachValueIsItsOwnTextWhateverCameBefore) {
  const TCallbackInPlace callback;
  const std::wstring big(1 << 20, L'b');
  const std::vector<std::wstring> values = {big, L"xy", L"", big + L"\u00e9", L"caf\u00e9", big.substr(0, 70000)};
  for (const std::wstring& value : values) ASSERT_TRUE(HostServices().SetVariable(L"[v]", value));
  ASSERT_EQ(g_seen.size(), values.size());
  EXPECT_EQ(g_seen[0].value, std::string(1 << 20, 'b'));
  EXPECT_EQ(g_seen[1].value, "xy");
  EXPECT_EQ(g_seen[2].value, "");
  EXPECT_EQ(g_seen[3].value, std::string(1 << 20, 'b') + "\xE9");
  EXPECT_EQ(g_seen[4].value, "caf\xE9");
  EXPECT_EQ(g_seen[5].value, std::string(70000, 'b'));
}

TEST(VariableValues, AValueSetFromWithinTheCallbackLeavesTheOuterValueWhole) {
  const TCallbackInPlace callback;
  g_reenter = true;
  ASSERT_TRUE(HostServices().SetVariable(L"[outer]", std::wstring(5000, L'o')));
  ASSERT_EQ(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].name, "[inner]");
  EXPECT_EQ(g_seen[0].value, std::string(3000, 'i'));
  EXPECT_EQ(g_seen[1].name, "[outer]");
  EXPECT_EQ(g_seen[1].value, std::string(5000, 'o'));
  // And the next value is whole again.
  ASSERT_TRUE(HostServices().SetVariable(L"[after]", L"after"));
  EXPECT_EQ(g_seen.back().value, "after");
}
