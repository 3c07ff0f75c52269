#include "delivery_queue.h"

#include <windows.h>

#include <deque>

namespace engine {
namespace {

constexpr UINT kDeliverMessage = WM_APP + 0x2D1;
constexpr wchar_t kClassName[] = L"TamrelEngineDoubleDelivery";

struct ThreadQueue {
  HWND window = nullptr;
  std::deque<std::function<void()>> work;
};

thread_local ThreadQueue t_queue;

LRESULT CALLBACK DeliveryWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kDeliverMessage) {
    // One closure per token: posts keep their order relative to the thread's other messages,
    // and a closure that pumps (a nested loop) lets the next ones through as the runtime does.
    if (!t_queue.work.empty()) {
      std::function<void()> next = std::move(t_queue.work.front());
      t_queue.work.pop_front();
      next();
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The window procedure lives in this DLL, so once a window exists the DLL stays loaded for
// the rest of the process (a FreeLibrary by the plug-in or a test must not unmap it).
HMODULE ThisModulePinned() {
  static HMODULE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&DeliveryWndProc), &m);
    return m;
  }();
  return module;
}

HWND QueueWindow() {
  if (t_queue.window && IsWindow(t_queue.window)) return t_queue.window;
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DeliveryWndProc;
    wc.hInstance = ThisModulePinned();
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  t_queue.window =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModulePinned(), nullptr);
  return t_queue.window;
}

}  // namespace

void Post(std::function<void()> work) {
  HWND window = QueueWindow();
  t_queue.work.push_back(std::move(work));
  if (!window || !PostMessageW(window, kDeliverMessage, 0, 0)) {
    // Without a window the work could never arrive; dropping it silently would hide that.
    OutputDebugStringW(L"engine double: cannot post a delivery token\n");
  }
}

int PendingDeliveries() { return static_cast<int>(t_queue.work.size()); }

}  // namespace engine
