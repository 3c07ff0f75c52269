#pragma once
#include <cstdint>

// nbExecAction's body: 1 on success, 0 otherwise; never raises.
int32_t ExecuteAction(int32_t id, const char* const* params);
// Gives back the argument memory kept between calls (run mode ended), except a running call's.
void ReleaseKeptArguments();
