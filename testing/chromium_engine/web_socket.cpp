#include "web_socket.h"

#include <ws2tcpip.h>

#include <cstdint>
#include <cstring>
#include <random>

namespace chromium {

bool StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

WebSocket::~WebSocket() {
  Shutdown();
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

bool WebSocket::Connect(int port, const std::string& path) {
  if (!StartWinsock()) return false;
  socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket_ == INVALID_SOCKET) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
  BOOL noDelay = TRUE;
  setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);

  // DevTools refuses a handshake that carries an Origin header, so none is sent.
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
  if (::send(socket_, request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size()))
    return false;
  std::string response;
  char buf[4096];
  size_t end;
  while ((end = response.find("\r\n\r\n")) == std::string::npos) {
    const int got = ::recv(socket_, buf, sizeof buf, 0);
    if (got <= 0) return false;
    response.append(buf, static_cast<size_t>(got));
    if (response.size() > 65536) return false;
  }
  pending_ = response.substr(end + 4);
  return response.compare(0, 12, "HTTP/1.1 101") == 0;
}

bool WebSocket::SendFrame(unsigned char opcode, const std::string& payload) {
  std::string frame;
  frame.push_back(static_cast<char>(0x80 | opcode));
  const uint64_t n = payload.size();
  if (n < 126) {
    frame.push_back(static_cast<char>(0x80 | n));
  } else if (n < 65536) {
    frame.push_back(static_cast<char>(0x80 | 126));
    frame.push_back(static_cast<char>((n >> 8) & 0xFF));
    frame.push_back(static_cast<char>(n & 0xFF));
  } else {
    frame.push_back(static_cast<char>(0x80 | 127));
    for (int shift = 56; shift >= 0; shift -= 8) frame.push_back(static_cast<char>((n >> shift) & 0xFF));
  }
  // Client frames must be masked.
  static thread_local std::mt19937 random{std::random_device{}()};
  const uint32_t key = random();
  unsigned char mask[4] = {static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
                           static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)};
  frame.append(reinterpret_cast<const char*>(mask), 4);
  const size_t start = frame.size();
  frame += payload;
  for (size_t i = 0; i < payload.size(); ++i) frame[start + i] = static_cast<char>(frame[start + i] ^ mask[i % 4]);

  std::lock_guard<std::mutex> lock(sendLock_);
  if (socket_ == INVALID_SOCKET) return false;
  size_t sent = 0;
  while (sent < frame.size()) {
    const int n2 = ::send(socket_, frame.data() + sent, static_cast<int>(frame.size() - sent), 0);
    if (n2 <= 0) return false;
    sent += static_cast<size_t>(n2);
  }
  return true;
}

bool WebSocket::SendText(const std::string& text) { return SendFrame(0x1, text); }

bool WebSocket::ReadExact(char* out, size_t n) {
  size_t have = 0;
  if (!pending_.empty()) {
    have = pending_.size() < n ? pending_.size() : n;
    memcpy(out, pending_.data(), have);
    pending_.erase(0, have);
  }
  while (have < n) {
    const int got = ::recv(socket_, out + have, static_cast<int>(n - have), 0);
    if (got <= 0) return false;
    have += static_cast<size_t>(got);
  }
  return true;
}

bool WebSocket::Receive(std::string& message) {
  message.clear();
  for (;;) {
    unsigned char head[2];
    if (!ReadExact(reinterpret_cast<char*>(head), 2)) return false;
    const bool fin = (head[0] & 0x80) != 0;
    const unsigned char opcode = head[0] & 0x0F;
    uint64_t length = head[1] & 0x7F;
    if (length == 126) {
      unsigned char ext[2];
      if (!ReadExact(reinterpret_cast<char*>(ext), 2)) return false;
      length = (static_cast<uint64_t>(ext[0]) << 8) | ext[1];
    } else if (length == 127) {
      unsigned char ext[8];
      if (!ReadExact(reinterpret_cast<char*>(ext), 8)) return false;
      length = 0;
      for (unsigned char b : ext) length = (length << 8) | b;
    }
    unsigned char mask[4] = {};
    const bool masked = (head[1] & 0x80) != 0;
    if (masked && !ReadExact(reinterpret_cast<char*>(mask), 4)) return false;
    if (length > (static_cast<uint64_t>(1) << 31)) return false;
    std::string payload(static_cast<size_t>(length), '\0');
    if (length && !ReadExact(&payload[0], payload.size())) return false;
    if (masked)
      for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(payload[i] ^ mask[i % 4]);

    switch (opcode) {
      case 0x0:  // continuation
      case 0x1:  // text
      case 0x2:  // binary (not used by DevTools; kept as text)
        message += payload;
        if (fin) return true;
        break;
      case 0x8:  // close
        return false;
      case 0x9:  // ping
        SendFrame(0xA, payload);
        break;
      default:  // pong and anything else
        break;
    }
  }
}

void WebSocket::Shutdown() {
  std::lock_guard<std::mutex> lock(sendLock_);
  if (socket_ != INVALID_SOCKET) ::shutdown(socket_, SD_BOTH);
}

}  // namespace chromium
