#pragma once

// Number of calls of the global operator new in this test program so far.
long long AllocationCount();
// The next allocation made by a thread other than the caller's throws std::bad_alloc, as when memory runs
// out in the middle of a worker's job.
void FailNextAllocationOffThisThread();
