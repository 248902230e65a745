// Makes the n-th allocation from now throw std::bad_alloc, as an exhausted
// memory would, to check what a failure at any allocation leaves behind. The
// test binary replaces the global operator new for this; unarmed it only
// forwards to malloc.
#pragma once

namespace storage_test {

// 0 disarms; n > 0 fails the n-th following allocation (then disarms).
void FailAllocation(int n);

} // namespace storage_test
