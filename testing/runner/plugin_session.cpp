#include "plugin_session.h"
#include "testhost/iat_hook.h"
#include "text.h"

namespace runner {

PluginSession::PluginSession(const std::wstring& pluginPath, HostSide host)
    : side_(std::move(host)), host_(pluginPath) {
  host_.onCall = [this](const testhost::HostCall& call) {
    switch (call.kind) {
      case testhost::CallKind::AddAction:
        catalogue_.Add(call.id, Utf8FromAnsi(call.text), call.count, call.types);
        break;
      case testhost::CallKind::AddFile:
        if (side_.fileAdded) side_.fileAdded(Utf8FromAnsi(call.text));
        break;
      case testhost::CallKind::SetVariable:
        if (side_.variableSet) side_.variableSet(Utf8FromAnsi(call.text), Utf8FromAnsi(call.text2));
        break;
      default: break;
    }
  };
  host_.onRunScript = [this](const std::string& script) {
    if (side_.runScript) side_.runScript(Utf8FromAnsi(script));
  };
  host_.onInterfaceAccess = [this](int32_t code, char** buffer) { return AnswerInterface(code, buffer); };
}

PluginSession::~PluginSession() {
  host_.onCall = nullptr;
  host_.onRunScript = nullptr;
  host_.onInterfaceAccess = nullptr;
}

void PluginSession::Start() {
  char *title = nullptr, *author = nullptr, *description = nullptr;
  host_.Init(0, &title, &author, &description);
  title_ = Utf8FromAnsi(title ? title : "");
  author_ = Utf8FromAnsi(author ? author : "");
  host_.FreeHostBuffer(title);
  host_.FreeHostBuffer(author);
  host_.FreeHostBuffer(description);
  host_.Start();
}

int32_t PluginSession::Exec(int32_t id, const std::vector<std::string>& utf8Params) {
  std::vector<std::string> ansi;
  for (const auto& p : utf8Params) ansi.push_back(AnsiFromUtf8(p));
  return host_.Exec(id, ansi);
}

void PluginSession::EndRunMode() { host_.Message(2); }

// Code 7: the window handle of a Rectangle, as decimal text in the buffer the plug-in handed
// over; the host puts a buffer of its own in its place, which the plug-in then releases.
bool PluginSession::AnswerInterface(int32_t code, char** buffer) {
  if (code != 7 || !buffer || !side_.rectangle) return false;
  const HWND window = side_.rectangle(Utf8FromAnsi(*buffer ? *buffer : ""));
  if (!window) return false;
  const std::string handle = std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(window)));
  if (*buffer) {
    testhost::ForgetGlobalBlock(*buffer);
    GlobalFree(*buffer);
  }
  *buffer = testhost::TestHost::HostBuffer(handle);
  return true;
}

}  // namespace runner
