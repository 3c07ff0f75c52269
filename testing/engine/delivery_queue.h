#pragma once
// Delivers work later on the calling thread, through its message loop, as the WebView2 runtime
// delivers completions and events: each Post queues a closure on a hidden message-only window
// of the current thread and posts that window a token; the closure runs when the thread
// dispatches the token. Never runs anything inside Post itself.
#include <functional>

namespace engine {

void Post(std::function<void()> work);

// Closures queued on this thread that have not run yet.
int PendingDeliveries();

}  // namespace engine
