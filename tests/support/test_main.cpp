// The test programs' entry. The launcher ends its process with exit(0) in
// several places; should a test reach one by mistake, the program would end
// with 0 half-way and look like a pass. An exit before the tests have
// finished therefore ends it with 3 instead, except in the child processes
// of death tests, whose exit is what they check.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

static bool TestsFinished;

static void FailEarlyExit()
{
    if (TestsFinished || wcsstr(GetCommandLineW(), L"internal_run_death_test"))
        return;
    fprintf(stderr, "test program ended before its tests had finished\n");
    fflush(stderr);
    _exit(3);
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    atexit(FailEarlyExit);
    int result = RUN_ALL_TESTS();
    TestsFinished = true;
    return result;
}
