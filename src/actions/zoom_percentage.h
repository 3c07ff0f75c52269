#pragma once
// The controller holds the zoom as a factor (1.0 is 100 percent); the actions speak whole
// percentages.
#include <cstdint>

// factor * 100 rounded to the nearest integer, an exact half to the even neighbour
// (1.125 gives 112, 1.375 gives 138). A value the engine could not have meant (not a number,
// beyond the 64-bit range) is held inside that range instead of overflowing.
int64_t ZoomFactorToPercentage(double factor);
