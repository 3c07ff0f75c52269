#pragma once
// TEventToken: one event subscription on an engine object, removed when the holder is reset or
// destroyed (once, never when the subscription failed). The holder keeps a plain pointer to the
// source: its owner resets the tokens before it lets the source go.
#include <eventtoken.h>
#include <windows.h>
#include <functional>
#include <utility>

class TEventToken {
 public:
  TEventToken() = default;
  template <class Source, class Remove>
  TEventToken(Source* source, Remove remove, EventRegistrationToken token)
      : remove_([source, remove, token] { (source->*remove)(token); }) {}
  ~TEventToken() { reset(); }
  TEventToken(TEventToken&& other) noexcept : remove_(std::exchange(other.remove_, nullptr)) {}
  TEventToken& operator=(TEventToken&& other) noexcept {
    if (this != &other) {
      reset();
      remove_ = std::exchange(other.remove_, nullptr);
    }
    return *this;
  }
  TEventToken(const TEventToken&) = delete;
  TEventToken& operator=(const TEventToken&) = delete;

  explicit operator bool() const { return static_cast<bool>(remove_); }
  // Removes the subscription now (the engine's answer is not examined).
  void reset() {
    if (!remove_) return;
    const std::function<void()> remove = std::exchange(remove_, nullptr);
    remove();
  }

 private:
  std::function<void()> remove_;
};

// Subscribes handler through add; an empty token when the engine refuses.
template <class Source, class Add, class Remove, class Handler>
TEventToken SubscribeEvent(Source* source, Add add, Remove remove, Handler* handler) {
  EventRegistrationToken token{};
  if (FAILED((source->*add)(handler, &token))) return TEventToken();
  return TEventToken(source, remove, token);
}
