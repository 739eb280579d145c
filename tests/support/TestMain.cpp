// Entry of every test program: COM, as the process entry of SETUP.EXE
// prepares it, then the test cases. A test that installs no responder of
// its own still never waits on a real box: the one installed here expects
// none, and fails the test with the box's text.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "support/Scripted.h"

#include <objbase.h>

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    int result = 0;
    {
        ScriptedDialogs noBoxExpected;
        doctest::Context context(argc, argv);
        result = context.run();
    }
    CoUninitialize();
    return result;
}
