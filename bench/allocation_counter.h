#pragma once
// Counts every allocation of the program through replaced global operators new and delete, so a
// benchmark can show how many allocations its timed work makes. Include it in exactly one source
// file of a benchmark program: the replacements are definitions.
#include <atomic>
#include <cstdlib>
#include <new>

namespace orvane::bench {
inline std::atomic<long> allocations{0};
}  // namespace orvane::bench

void* operator new(std::size_t size) {
  orvane::bench::allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// The replacement delete frees what the replacement new took from malloc; GCC cannot see that
// the two belong together.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
