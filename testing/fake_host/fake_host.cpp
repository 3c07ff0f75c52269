#include "fake_host.h"
#include <cstring>
#include "support/text.h"

namespace testhost {

bool FakeHost::SetVariable(const std::wstring& name, std::wstring_view value) {
  if (!setVariables) return false;
  std::string ansi;
  WideToAnsiInto(value, ansi);
  calls.push_back("set " + WideToAnsi(name) + "=" + ansi);
  return true;
}

bool FakeHost::RunScript(const std::wstring& script) {
  if (!runScripts) return false;
  calls.push_back("run " + WideToAnsi(script));
  return true;
}

bool FakeHost::AddFile(const std::wstring& path) {
  if (!addFiles) return false;
  calls.push_back("file " + WideToAnsi(path));
  return true;
}

bool FakeHost::InterfaceAccess(int32_t code, char*& buffer) {
  if (!interfaceAccess) return false;
  const std::string asked = buffer ? buffer : "";
  calls.push_back("access " + std::to_string(code) + " " + asked);
  const auto found = rectangles.find(asked);
  if (code != 7 || found == rectangles.end()) return false;
  // As the host does: the plug-in's buffer released, a new one of the host's in its place.
  GlobalFree(buffer);
  buffer = static_cast<char*>(GlobalAlloc(GMEM_FIXED, found->second.size() + 1));
  std::memcpy(buffer, found->second.c_str(), found->second.size() + 1);
  return true;
}

}  // namespace testhost
