// Compiles the functions between ORVANE_BEGIN_AVX2_REGION and ORVANE_END_AVX2_REGION for AVX2,
// whatever the rest of the file is compiled for; callers check the processor at run time first.
// GCC takes the target pragma; clang takes the same through an attribute applied to every
// function of the region.
#pragma once

#if defined(__x86_64__)
#include <immintrin.h>

#if defined(__clang__)
#define ORVANE_BEGIN_AVX2_REGION \
  _Pragma("clang attribute push(__attribute__((target(\"avx2\"))), apply_to = function)")
#define ORVANE_END_AVX2_REGION _Pragma("clang attribute pop")
#else
#define ORVANE_BEGIN_AVX2_REGION _Pragma("GCC push_options") _Pragma("GCC target(\"avx2\")")
#define ORVANE_END_AVX2_REGION _Pragma("GCC pop_options")
#endif
#endif  // __x86_64__
