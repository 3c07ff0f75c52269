#pragma once
// A minimal WebSocket client (RFC 6455) over a blocking Winsock TCP socket: the handshake,
// masked text frames out, and whole messages in (fragments joined, pings answered).
// One thread reads; any thread may send (sends are serialised).
#include <winsock2.h>

#include <mutex>
#include <string>

namespace chromium {

class WebSocket {
 public:
  WebSocket() = default;
  ~WebSocket();
  WebSocket(const WebSocket&) = delete;
  WebSocket& operator=(const WebSocket&) = delete;

  // Connects to 127.0.0.1:port and upgrades the connection on `path`. False on any failure.
  bool Connect(int port, const std::string& path);
  // Sends one text message; false once the connection is gone.
  bool SendText(const std::string& text);
  // Blocks until the next whole text message; false when the connection closed or failed.
  bool Receive(std::string& message);
  // Ends the connection; a thread blocked in Receive returns false.
  void Shutdown();

 private:
  bool SendFrame(unsigned char opcode, const std::string& payload);
  bool ReadExact(char* out, size_t n);

  SOCKET socket_ = INVALID_SOCKET;
  std::mutex sendLock_;
  std::string pending_;  // bytes received after the handshake's end
};

// Winsock started once for the process.
bool StartWinsock();

}  // namespace chromium
