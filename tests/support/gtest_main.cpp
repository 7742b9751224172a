// Common main() of the test executables.
#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    // A crash must end the process with a failure code, never wait on a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
