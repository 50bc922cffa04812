#pragma once
// The core is compiled for plain SSE. Some library code (Qt's argument parsing, for one) leaves the
// upper halves of the AVX registers marked in use; every SSE instruction after it then pays a merge
// with those stale halves, and the reader ran at half its speed. Clearing them once before the heavy
// work costs one instruction.

namespace sonvela {

inline void ClearVectorUpperHalves() {
#if defined(__x86_64__) && defined(__GNUC__)
  if (__builtin_cpu_supports("avx")) asm volatile("vzeroupper");
#endif
}

}  // namespace sonvela
