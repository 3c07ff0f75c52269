#include "cdp_connection.h"

#include <memory>

namespace chromium {
namespace {

constexpr UINT kMessageArrived = WM_APP + 0x3C1;  // lParam: Json* (owned by the receiver)
constexpr UINT kConnectionClosed = WM_APP + 0x3C2;
constexpr wchar_t kClassName[] = L"TamrelChromiumEngineConnection";

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

Json ErrorAnswer(int64_t id, const char* text) {
  return Json{{"id", id}, {"error", {{"code", -1}, {"message", text}}}};
}

}  // namespace

std::shared_ptr<CdpConnection> CdpConnection::Open(int port, const std::string& path) {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CdpConnection::WindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  if (!atom) return nullptr;
  std::shared_ptr<CdpConnection> connection(new CdpConnection());
  if (!connection->socket_.Connect(port, path)) return nullptr;
  connection->window_ =
      CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  if (!connection->window_) return nullptr;
  connection->windowLink_ = new std::weak_ptr<CdpConnection>(connection);
  SetWindowLongPtrW(connection->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(connection->windowLink_));
  CdpConnection* raw = connection.get();
  connection->reader_ = std::thread([raw] { raw->ReadLoop(); });
  return connection;
}

CdpConnection::~CdpConnection() {
  socket_.Shutdown();
  if (reader_.joinable()) reader_.join();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DropPostedMessages();
    DestroyWindow(window_);
  }
  delete windowLink_;
}

void CdpConnection::DropPostedMessages() {
  MSG msg;
  while (PeekMessageW(&msg, window_, kMessageArrived, kConnectionClosed, PM_REMOVE)) {
    if (msg.message == kMessageArrived) delete reinterpret_cast<Json*>(msg.lParam);
  }
}

LRESULT CALLBACK CdpConnection::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kMessageArrived && message != kConnectionClosed) return DefWindowProcW(window, message, wParam, lParam);
  std::unique_ptr<Json> arrived(message == kMessageArrived ? reinterpret_cast<Json*>(lParam) : nullptr);
  auto* link = reinterpret_cast<std::weak_ptr<CdpConnection>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Held for the whole delivery: a handler may release the last other reference.
  std::shared_ptr<CdpConnection> self = link ? link->lock() : nullptr;
  if (!self) return 0;
  try {
    if (arrived) {
      self->Dispatch(*arrived);
    } else {
      self->OnClosed();
    }
  } catch (...) {
    // Nothing may unwind into the message loop.
  }
  return 0;
}

void CdpConnection::ReadLoop() {
  std::string text;
  while (socket_.Receive(text)) {
    Json message = Json::parse(text, nullptr, false);
    if (message.is_discarded()) continue;
    if (Member(message, "id").is_number_integer()) {
      const int64_t id = Integer(message, "id");
      std::lock_guard<std::mutex> guard(lock_);
      if (waiting_.count(id)) {
        syncAnswers_[id] = std::move(message);
        changed_.notify_all();
        continue;
      }
    }
    PostMessageW(window_, kMessageArrived, 0, reinterpret_cast<LPARAM>(new Json(std::move(message))));
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    changed_.notify_all();
  }
  PostMessageW(window_, kConnectionClosed, 0, 0);
}

void CdpConnection::Dispatch(const Json& message) {
  if (Has(message, "id")) {
    if (!Member(message, "id").is_number_integer()) return;
    const int64_t id = Integer(message, "id");
    auto it = replies_.find(id);
    if (it == replies_.end()) return;
    Reply reply = std::move(it->second);
    replies_.erase(it);
    if (reply) reply(message);
    return;
  }
  const std::string method = Text(message, "method");
  if (!onEvent_ || method.empty()) return;
  onEvent_(Text(message, "sessionId"), method, Member(message, "params"));
}

void CdpConnection::OnClosed() {
  if (closedDelivered_) return;
  closedDelivered_ = true;
  // Unanswered commands get an answer, so that whoever waits on them lets go of its handler.
  std::map<int64_t, Reply> unanswered;
  unanswered.swap(replies_);
  auto self = shared_from_this();
  for (auto& entry : unanswered)
    if (entry.second) entry.second(ErrorAnswer(entry.first, "connection closed"));
  if (onClosed_) onClosed_();
}

void CdpConnection::Send(const std::string& method, const Json& params, const std::string& sessionId, Reply reply) {
  const int64_t id = nextId_++;
  Json message{{"id", id}, {"method", method}, {"params", params}};
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  if (reply) replies_[id] = std::move(reply);
  if (!socket_.SendText(message.dump(-1, ' ', false, Json::error_handler_t::replace))) {
    // The closed notice answers it; nothing is called inside Send.
    return;
  }
}

Json CdpConnection::Call(const std::string& method, const Json& params, const std::string& sessionId,
                         DWORD timeoutMs) {
  const int64_t id = nextId_++;
  Json message{{"id", id}, {"method", method}, {"params", params}};
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  std::unique_lock<std::mutex> guard(lock_);
  if (closed_) return ErrorAnswer(id, "connection closed");
  waiting_.insert(id);
  guard.unlock();
  const bool sent = socket_.SendText(message.dump(-1, ' ', false, Json::error_handler_t::replace));
  guard.lock();
  const bool answered = sent && changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                                  [&] { return syncAnswers_.count(id) || closed_; });
  waiting_.erase(id);
  auto it = syncAnswers_.find(id);
  if (it == syncAnswers_.end()) return ErrorAnswer(id, answered ? "connection closed" : "no answer in time");
  Json answer = std::move(it->second);
  syncAnswers_.erase(it);
  return answer;
}

bool CdpConnection::WaitClosed(DWORD timeoutMs) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return closed_; });
}

bool CdpConnection::Closed() const {
  std::lock_guard<std::mutex> guard(lock_);
  return closed_;
}

}  // namespace chromium
