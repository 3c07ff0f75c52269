#include "live_objects.h"

#include <atomic>

namespace engine {
namespace {
std::atomic<int32_t> g_live{0};
}

void ObjectCreated() { ++g_live; }
void ObjectDestroyed() { --g_live; }
int32_t LiveObjectCount() { return g_live.load(); }

}  // namespace engine
