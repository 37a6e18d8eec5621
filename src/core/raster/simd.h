#pragma once

// SSE2 is part of every x86-64 processor; elsewhere the raster code takes its plain loops.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define NORVALE_SSE2 1
#endif
