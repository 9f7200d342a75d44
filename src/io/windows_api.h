#pragma once

// <windows.h> as our Windows files want it: without the min and max macros, which break
// std::min, nor the parts of the API they never call.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
