#pragma once
// One DevTools protocol connection to a browser (its browser-level WebSocket; page sessions
// are flattened onto it). A reader thread receives; everything it receives reaches the
// thread that opened the connection through that thread's message loop, in arrival order,
// except the answers to synchronous calls, which wake the waiting call directly.
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "json_access.h"

#include "web_socket.h"

namespace chromium {

class CdpConnection : public std::enable_shared_from_this<CdpConnection> {
 public:
  // A whole answer: {"id":..,"result":{..}} or {"id":..,"error":{..}}.
  using Reply = std::function<void(const Json& answer)>;
  using EventHandler = std::function<void(const std::string& sessionId, const std::string& method, const Json& params)>;
  using ClosedHandler = std::function<void()>;

  // Connects on the calling thread, which must pump messages; null on failure.
  static std::shared_ptr<CdpConnection> Open(int port, const std::string& path);
  ~CdpConnection();
  CdpConnection(const CdpConnection&) = delete;
  CdpConnection& operator=(const CdpConnection&) = delete;

  void SetEventHandler(EventHandler handler) { onEvent_ = std::move(handler); }
  void SetClosedHandler(ClosedHandler handler) { onClosed_ = std::move(handler); }

  // Sends a command; the reply (if wanted) arrives later through the message loop. A command
  // still unanswered when the connection closes is answered with an error.
  void Send(const std::string& method, const Json& params, const std::string& sessionId = std::string(),
            Reply reply = nullptr);
  // Sends a command and waits for its answer without dispatching anything else. On timeout
  // or a closed connection the answer is {"error":{"message":...}}.
  Json Call(const std::string& method, const Json& params, const std::string& sessionId = std::string(),
            DWORD timeoutMs = 15000);
  // Waits until the browser ended the connection.
  bool WaitClosed(DWORD timeoutMs);
  bool Closed() const;

 private:
  CdpConnection() = default;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReadLoop();
  void Dispatch(const Json& message);
  void OnClosed();
  void DropPostedMessages();

  WebSocket socket_;
  HWND window_ = nullptr;
  std::weak_ptr<CdpConnection>* windowLink_ = nullptr;
  std::thread reader_;
  int64_t nextId_ = 1;
  std::map<int64_t, Reply> replies_;

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::set<int64_t> waiting_;            // ids of synchronous calls in progress
  std::map<int64_t, Json> syncAnswers_;  // their answers
  bool closed_ = false;
  bool closedDelivered_ = false;

  EventHandler onEvent_;
  ClosedHandler onClosed_;
};

}  // namespace chromium
