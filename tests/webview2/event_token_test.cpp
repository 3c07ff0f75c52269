// The event-token holder: a subscription is removed exactly once, when its holder is reset,
// moved over or destroyed, and never when the engine refused it.
#include "webview2/event_token.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct Handler {};

struct Source {
  std::vector<std::string> calls;
  bool refuse = false;
  int64_t next = 40;
  HRESULT STDMETHODCALLTYPE add_Thing(Handler*, EventRegistrationToken* token) {
    if (refuse) return E_FAIL;
    token->value = ++next;
    calls.push_back("add " + std::to_string(token->value));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE remove_Thing(EventRegistrationToken token) {
    calls.push_back("remove " + std::to_string(token.value));
    return S_OK;
  }
};

TEventToken Subscribe(Source& source) {
  Handler handler;
  return SubscribeEvent(&source, &Source::add_Thing, &Source::remove_Thing, &handler);
}
}  // namespace

TEST(EventToken, RemovesItsSubscriptionOnceWhenResetMovedOrDestroyed) {
  Source source;
  {
    TEventToken first = Subscribe(source);   // 41
    TEventToken second = Subscribe(source);  // 42
    EXPECT_TRUE(first);
    first.reset();
    first.reset();                          // nothing left to remove
    TEventToken third = Subscribe(source);  // 43
    third = std::move(second);              // 43 goes, 42 moves over
    EXPECT_FALSE(second);
    EXPECT_TRUE(third);
  }  // 42 goes with its holder
  EXPECT_EQ(source.calls,
            (std::vector<std::string>{"add 41", "add 42", "remove 41", "add 43", "remove 43", "remove 42"}));
}

TEST(EventToken, ARefusedSubscriptionIsNeverRemoved) {
  Source source;
  source.refuse = true;
  {
    TEventToken token = Subscribe(source);
    EXPECT_FALSE(token);
  }
  EXPECT_TRUE(source.calls.empty());
}
