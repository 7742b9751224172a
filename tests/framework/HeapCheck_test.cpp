// The tests' heap check after each test waits for the test's own threads to end; GoogleTest's threads are
// not the test's.
#include <gtest/gtest.h>

#include "tests/support/HeapCheck.h"

TEST(HeapCheck, ATraceStartsNoThreadThatHoldsTheCheckOff) {
    const int before = CountProcessThreads();
    { SCOPED_TRACE("a trace"); }
    EXPECT_EQ(CountProcessThreads(), before);
}
