#include "host/rectangle_lookup.h"
#include "support/errors.h"
#include "host/host_services.h"
#include "host/host_string.h"
#include "support/text.h"

HWND GetRectangleHandle(const std::wstring& name) {
  THostServices& host = HostServices();
  if (!host.HasInterfaceAccess()) Fail(L"The VisualNEO interface callback is not available.");
  HostStringHolder buffer;
  SetHostString(buffer.variable(), name);
  if (!host.InterfaceAccess(7, buffer.variable())) Fail(L"VisualNEO could not locate Rectangle \"" + name + L"\".");
  int32_t handle = 0;
  if (buffer.variable()) handle = StrToIntDef(AnsiToWide(buffer.variable()), 0);
  if (handle == 0) Fail(L"Rectangle \"" + name + L"\" was not found or has no window handle.");
  return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}
