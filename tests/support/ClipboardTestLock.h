// Test processes run side by side under one Wine server and share one clipboard: a test that puts
// something on it and reads it back holds this lock for the whole round trip.
#pragma once

#include "tests/support/SharedTestLock.h"

class ClipboardTestLock : public SharedTestLock {
public:
    ClipboardTestLock() : SharedTestLock("WertlaufTestClipboard") {}
};
