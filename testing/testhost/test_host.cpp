#include "test_host.h"
#include <cstring>
#include <stdexcept>
#include "iat_hook.h"
#include "test_env.h"

extern "C" {
uint32_t tamrel_call_register(void* fn, uint32_t eax, uint32_t edx, uint32_t ecx, const uint32_t* stackArgs,
                              int32_t count, int32_t* balanced);
void tamrel_thunk_add_action();
void tamrel_thunk_add_file();
void tamrel_thunk_set_variable();
void tamrel_thunk_run_script();
void tamrel_thunk_interface_access();
}

namespace testhost {
namespace {
TestHost* g_current = nullptr;
const char* const kExportNames[7] = {
    "nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterScriptProcessor", "nbRegisterInterfaceAccess", "nbMessage",
    "nbEditAction", "nbExecAction"};
enum { kInit, kRegister, kScript, kInterface, kMessage, kEdit, kExec };

uint32_t U(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
std::string Str(const char* s) { return s ? std::string(s) : std::string(); }
}  // namespace

TestHost* TestHost::Current() { return g_current; }

TestHost::TestHost(const std::wstring& pluginPath) {
  const std::wstring path = pluginPath.empty() ? DefaultPluginPath() : pluginPath;
  // A fresh plug-in state per host: the DLL's globals are initialised again on load.
  // A pinned instance stays whatever FreeLibrary answers: then it is taken as it is.
  for (int i = 0; i < 64 && GetModuleHandleW(path.c_str()); ++i) FreeLibrary(GetModuleHandleW(path.c_str()));
  module_ = LoadLibraryW(path.c_str());
  if (!module_) throw std::runtime_error("cannot load the plug-in");
  for (int i = 0; i < 7; ++i) {
    exports_[i] = reinterpret_cast<void*>(GetProcAddress(module_, kExportNames[i]));
    if (!exports_[i]) throw std::runtime_error(std::string("missing export ") + kExportNames[i]);
  }
  ResetGlobalBlocks();
  HookGlobalMemory(module_);
  HookCrtHeap(module_);
  HookModulePinning(module_);
  g_current = this;
}

TestHost::~TestHost() {
  if (g_current == this) g_current = nullptr;
  if (module_) FreeLibrary(module_);
}

namespace {
uint32_t Call(TestHost* host, void* fn, uint32_t eax, uint32_t edx, uint32_t ecx,
              std::initializer_list<uint32_t> stack = {}) {
  int32_t balanced = 0;
  const std::vector<uint32_t> args(stack);
  const uint32_t r = tamrel_call_register(fn, eax, edx, ecx, args.data(), static_cast<int32_t>(args.size()), &balanced);
  if (!balanced) ++host->unbalancedCalls;
  return r;
}
}  // namespace

void TestHost::Init(int32_t hostValue, char** title, char** author, char** description) {
  Call(this, exports_[kInit], static_cast<uint32_t>(hostValue), U(title), U(author), {U(description)});
}

void TestHost::Register(bool addFile, bool setVariable) {
  Call(this, exports_[kRegister], U(reinterpret_cast<void*>(&tamrel_thunk_add_action)),
       addFile ? U(reinterpret_cast<void*>(&tamrel_thunk_add_file)) : 0, 0x7E57u,
       {setVariable ? U(reinterpret_cast<void*>(&tamrel_thunk_set_variable)) : 0u});
}

void TestHost::RegisterScriptProcessor(bool present) {
  Call(this, exports_[kScript], present ? U(reinterpret_cast<void*>(&tamrel_thunk_run_script)) : 0, 0xDEAD, 0xBEEF);
}

void TestHost::RegisterInterfaceAccess(bool present) {
  Call(this, exports_[kInterface], present ? U(reinterpret_cast<void*>(&tamrel_thunk_interface_access)) : 0, 0xDEAD,
       0xBEEF);
}

void TestHost::Message(int32_t code) { Call(this, exports_[kMessage], static_cast<uint32_t>(code), 0x1234, 0x5678); }

int32_t TestHost::ExecRaw(int32_t id, const char* const* params) {
  return static_cast<int32_t>(Call(this, exports_[kExec], static_cast<uint32_t>(id), U(params), 0xC0FFEE));
}

int32_t TestHost::Exec(int32_t id, const std::vector<std::string>& params) {
  std::vector<const char*> ptrs;
  for (const auto& p : params) ptrs.push_back(p.c_str());
  ptrs.push_back(nullptr);
  return ExecRaw(id, ptrs.data());
}

int32_t TestHost::ExecW(int32_t id, const std::vector<std::wstring>& params) {
  std::vector<std::string> ansi;
  for (const auto& p : params) ansi.push_back(Ansi(p));
  return Exec(id, ansi);
}

bool TestHost::Edit(int32_t id, char** params, int32_t highIndex) {
  const uint32_t r =
      Call(this, exports_[kEdit], static_cast<uint32_t>(id), U(params), static_cast<uint32_t>(highIndex));
  return (r & 0xFFu) != 0;
}

void TestHost::Start() {
  Register();
  RegisterScriptProcessor();
  RegisterInterfaceAccess();
}

std::string TestHost::Var(const std::string& name) const {
  auto it = variables.find(name);
  return it == variables.end() ? std::string() : it->second;
}

std::vector<HostCall> TestHost::CallsOf(CallKind kind) const {
  std::vector<HostCall> out;
  for (const auto& c : calls)
    if (c.kind == kind) out.push_back(c);
  return out;
}

std::vector<std::string> TestHost::SetsOf(const std::string& name) const {
  std::vector<std::string> out;
  for (const auto& c : calls)
    if (c.kind == CallKind::SetVariable && c.text == name) out.push_back(c.text2);
  return out;
}

int TestHost::LiveBuffers() const { return LiveGlobalBlocks(); }
bool TestHost::FreedByPlugin(const void* block) const { return FreedByModule(const_cast<void*>(block)); }
int TestHost::PluginFrees() const { return GlobalFreeCalls(); }
int TestHost::PluginHeapBlocks() const { return LiveHeapBlocks(); }
void TestHost::FailNthAllocation(int n) { FailNthGlobalAlloc(n); }
void TestHost::KeepWindowsPathRules(bool on) { testhost::KeepWindowsPathRules(on); }

void TestHost::FreeHostBuffer(char*& buffer) {
  if (buffer) {
    ForgetGlobalBlock(buffer);
    GlobalFree(buffer);
  }
  buffer = nullptr;
}

char* TestHost::HostBuffer(const std::string& text) {
  char* p = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
  std::memcpy(p, text.c_str(), text.size() + 1);
  NoteHostAllocation(p);
  return p;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (condition()) return true;
    }
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace testhost

// ---- callbacks, reached through the thunks -------------------------------------------------
using testhost::CallKind;
using testhost::HostCall;

extern "C" void tamrel_on_add_action(int32_t id, const char* name, const char* hint, const uint8_t* types, int32_t high,
                                     int32_t count) {
  auto* host = testhost::TestHost::Current();
  if (!host) return;
  HostCall c;
  c.kind = CallKind::AddAction;
  c.id = id;
  c.text = testhost::Str(name);
  c.text2 = testhost::Str(hint);
  c.high = high;
  c.count = count;
  if (types && high >= 0) c.types.assign(types, types + high + 1);
  if (host->recordCalls) host->calls.push_back(c);
  if (host->onCall) host->onCall(c);
}

extern "C" void tamrel_on_add_file(const char* path, uint32_t flag) {
  auto* host = testhost::TestHost::Current();
  if (!host) return;
  HostCall c;
  c.kind = CallKind::AddFile;
  c.text = testhost::Str(path);
  c.flag = static_cast<uint8_t>(flag);
  if (host->recordCalls) host->calls.push_back(c);
  if (host->onCall) host->onCall(c);
}

extern "C" void tamrel_on_set_variable(const char* name, const char* value) {
  auto* host = testhost::TestHost::Current();
  if (!host) return;
  HostCall c;
  c.kind = CallKind::SetVariable;
  c.text = testhost::Str(name);
  c.text2 = testhost::Str(value);
  if (host->recordCalls) host->calls.push_back(c);
  if (host->onCall) host->onCall(c);
  host->variables[c.text] = std::move(c.text2);
}

extern "C" void tamrel_on_run_script(const char* script) {
  auto* host = testhost::TestHost::Current();
  if (!host) return;
  HostCall c;
  c.kind = CallKind::RunScript;
  c.text = testhost::Str(script);
  if (host->recordCalls) host->calls.push_back(c);
  if (host->onCall) host->onCall(c);
  if (host->onRunScript) {
    auto hook = host->onRunScript;  // the script may replace the hook
    hook(c.text);
  }
}

extern "C" uint32_t tamrel_on_interface_access(int32_t code, char** buffer) {
  auto* host = testhost::TestHost::Current();
  if (!host) return 0;
  HostCall c;
  c.kind = CallKind::InterfaceAccess;
  c.id = code;
  c.text = buffer ? testhost::Str(*buffer) : std::string();
  if (host->recordCalls) host->calls.push_back(c);
  if (host->onCall) host->onCall(c);
  if (host->onInterfaceAccess) return host->onInterfaceAccess(code, buffer) ? 1 : 0;
  if (code != 7 || !buffer) return 0;
  auto it = host->rectangles.find(c.text);
  if (it == host->rectangles.end()) return 0;
  // The host writes the handle as decimal text into the buffer it was given when it fits.
  const std::string handle = std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(it->second)));
  const SIZE_T size = *buffer ? GlobalSize(*buffer) : 0;
  if (*buffer && size > handle.size()) {
    std::memcpy(*buffer, handle.c_str(), handle.size() + 1);
  } else {
    if (*buffer) {
      testhost::ForgetGlobalBlock(*buffer);
      GlobalFree(*buffer);
    }
    *buffer = testhost::TestHost::HostBuffer(handle);
  }
  return 1;
}
