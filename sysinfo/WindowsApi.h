#pragma once

// windows.h for the Windows implementations: without its rarely used parts, and without the
// min and max macros that would break std::min and std::max.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
