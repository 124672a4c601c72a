// Watches for requests to the global operator new of kLargeAllocation bytes or more, in a test
// program that builds tests/support/LargeAllocations.cpp into itself (it replaces the program's
// operator new and delete). Such a request is counted and refused with std::bad_alloc, so a
// reader that sizes a buffer by an unchecked length fails the test without taking the memory.
#pragma once
#include <cstddef>

namespace testkit {

inline constexpr size_t kLargeAllocation = size_t{64} << 20;

size_t LargeAllocationRequests();

}  // namespace testkit
