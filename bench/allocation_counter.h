#pragma once

// Counts every operator new of the benchmark program that links allocation_counter.cpp, so a
// benchmark can show that a hot path does not touch the heap.

namespace norvale::bench {

// How many allocations the program has made so far.
long long AllocationCount();
// How many of them have not been freed yet: the blocks the program holds on the heap.
long long LiveAllocationCount();

} // namespace norvale::bench
