// Entry of every test program: the system's lead bytes and COM, as the
// process entry of SETUP.EXE prepares them, then the test cases.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "text/MBUtils.h"

#include <objbase.h>

int main(int argc, char** argv)
{
    LoadLeadBytes();
    CoInitialize(nullptr);
    doctest::Context context(argc, argv);
    const int result = context.run();
    CoUninitialize();
    return result;
}
