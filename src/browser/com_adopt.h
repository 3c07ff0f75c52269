#pragma once
// Takes over the one reference a freshly made COM object starts with. MinGW's ComPtr::Attach
// adds a reference of its own (unlike WRL's), which would keep every such object alive for
// ever once the engine has released its references.
#include <wrl/client.h>

template <class Interface>
Microsoft::WRL::ComPtr<Interface> AdoptComObject(Interface* created) {
  Microsoft::WRL::ComPtr<Interface> result;
  *result.ReleaseAndGetAddressOf() = created;
  return result;
}
