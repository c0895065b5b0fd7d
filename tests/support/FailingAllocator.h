// A counting allocator for tests: the program's operator new, replaced in
// the test binary that links FailingAllocator.cpp, can be made to fail its
// Nth allocation (throwing std::bad_alloc, or returning null for the
// nothrow forms), as an allocation fails when memory runs out. Allocations
// by C code (malloc) are not counted.
#pragma once

// Makes the `nth` allocation from now on (1: the next one) fail, once; 0
// turns failing off. Counting restarts.
void SetAllocationFault(long nth);

// Whether the failing allocation has happened since SetAllocationFault.
bool AllocationFaultHappened();
