#pragma once
// Counts every COM object of the double that is still referenced by anyone.
#include <cstdint>

namespace engine {

void ObjectCreated();
void ObjectDestroyed();
int32_t LiveObjectCount();

}  // namespace engine
