#pragma once

// Number of calls of the global operator new in this test program so far.
long long AllocationCount();
