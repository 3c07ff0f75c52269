#pragma once
#include <string>

// Action 5 and the first step of action 1: removes and destroys the host of that name.
bool DestroyBrowserHost(const std::wstring& name);
// nbMessage code 2: destroys every host, last registered first.
void DestroyAllBrowserHosts();
