#pragma once
// A test host that loads zkTamrelDesk.nbp with LoadLibrary and calls it exactly as
// VisualNEO does, through hand-written register-convention thunks (host_thunks.S).
// It records every callback the plug-in makes, in order.
#include <windows.h>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testhost {

enum class CallKind { AddAction, AddFile, SetVariable, RunScript, InterfaceAccess };

struct HostCall {
  CallKind kind;
  int32_t id = 0;     // AddAction id, InterfaceAccess code
  std::string text;   // name / path / script / buffer text handed in
  std::string text2;  // hint / value
  std::vector<uint8_t> types;
  int32_t high = 0, count = 0;
  uint8_t flag = 0;
};

class TestHost {
 public:
  // Loads a fresh instance of the plug-in (an earlier instance of this process is unloaded first).
  explicit TestHost(const std::wstring& pluginPath = std::wstring());
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  HMODULE module() const { return module_; }

  // --- entry points -----------------------------------------------------------------------
  void Init(int32_t hostValue, char** title, char** author, char** description);
  // Hands over the callbacks; a false flag hands a null pointer in that slot instead.
  void Register(bool addFile = true, bool setVariable = true);
  void RegisterScriptProcessor(bool present = true);
  void RegisterInterfaceAccess(bool present = true);
  void Message(int32_t code);
  int32_t Exec(int32_t id, const std::vector<std::string>& params);    // ANSI texts
  int32_t ExecW(int32_t id, const std::vector<std::wstring>& params);  // converted to CP_ACP
  int32_t ExecRaw(int32_t id, const char* const* params);
  bool Edit(int32_t id, char** params, int32_t highIndex);
  // Registers everything the host normally hands over: callbacks, script processor, interface access.
  void Start();

  // --- what the plug-in did -----------------------------------------------------------------
  std::vector<HostCall> calls;
  // Off: the calls are answered but not kept. VisualNEO keeps a variable's value, not a
  // history, so the benchmark times the plug-in against a host that copies a value once.
  bool recordCalls = true;
  std::map<std::string, std::string> variables;  // last value per variable name
  bool HasVar(const std::string& name) const { return variables.count(name) != 0; }
  std::string Var(const std::string& name) const;
  std::vector<HostCall> CallsOf(CallKind kind) const;
  std::vector<std::string> SetsOf(const std::string& name) const;  // every value written to it
  int unbalancedCalls = 0;  // entry points that did not pop exactly their stack arguments

  // --- how the host answers ------------------------------------------------------------------
  // Interface code 7: Rectangle name (exact) to window handle.
  std::map<std::string, HWND> rectangles;
  // Overrides the default answer of InterfaceAccess (code 7 from `rectangles`, false otherwise).
  std::function<bool(int32_t code, char** buffer)> onInterfaceAccess;
  // Runs inside RunScript: an action script that may call the plug-in again.
  std::function<void(const std::string& script)> onRunScript;
  // Sees every callback as soon as it is recorded (the publication runner prints them).
  std::function<void(const HostCall& call)> onCall;

  // --- buffers the plug-in allocated (GlobalAlloc/GlobalFree counted through its import table)
  int LiveBuffers() const;
  // True when the plug-in released this block with GlobalFree (e.g. a host buffer it replaced).
  bool FreedByPlugin(const void* block) const;
  // How many times the plug-in called GlobalFree since it was loaded.
  int PluginFrees() const;
  // The plug-in's nth GlobalAlloc from now on fails (0: none fails).
  void FailNthAllocation(int n);
  // The plug-in's file-system calls keep the path rules of Windows (see KeepWindowsPathRules).
  void KeepWindowsPathRules(bool on = true);
  // Frees a buffer the plug-in handed to the host, as the host does with GlobalFree.
  void FreeHostBuffer(char*& buffer);
  // A buffer the host itself owns (GlobalAlloc'ed here), e.g. a parameter of nbEditAction.
  static char* HostBuffer(const std::string& text);
  // Blocks the plug-in holds on its C run-time heap, counted from its load on.
  int PluginHeapBlocks() const;

  static TestHost* Current();

 private:
  HMODULE module_ = nullptr;
  void* exports_[7] = {};
};

// Message pumping and files.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
void PumpFor(DWORD ms);

}  // namespace testhost
