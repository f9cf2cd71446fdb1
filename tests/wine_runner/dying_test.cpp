// Tests that must fail. Each dies in the middle of its program's tests, as a fault in
// the code under test can make a test program die; the runner must report it as a
// failure within seconds, never as a pass and never after a wait.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

int* volatile nowhere = nullptr;  // volatile: the compiler cannot see the crash coming

TEST(DyingTest, CrashesOnANullPointer) {
    *nowhere = 1;
}

// The status says success; only the missing summary tells the tests after it never ran.
TEST(DyingTest, ExitsReportingSuccess) {
    ExitProcess(0);
}

}  // namespace
