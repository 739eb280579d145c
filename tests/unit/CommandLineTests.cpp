// The first command-line argument, which decides the mode.
#include <doctest/doctest.h>

#include "app/CommandLine.h"

TEST_CASE("the first argument after the program's own name")
{
    CHECK(FirstArgument("SETUP.EXE").empty());
    CHECK(FirstArgument("SETUP.EXE   ").empty());
    CHECK(FirstArgument("C:\\WINDOWS\\UNOVSET.EXE C:\\APP\\UNSETUP.INI") == "C:\\APP\\UNSETUP.INI");
    // The Add/Remove Programs entry quotes the record path only.
    CHECK(FirstArgument("C:\\WINDOWS\\UNOVSET.EXE \"C:\\Program Files\\表示\\UNSETUP.INI\"") ==
          "C:\\Program Files\\表示\\UNSETUP.INI");
    CHECK(FirstArgument("\"C:\\Setup Disk\\SETUP.EXE\" first second") == "first");
    // Tabs and other control characters separate too; quotes inside an
    // argument group blanks and are dropped.
    CHECK(FirstArgument("SETUP.EXE\tC:\\A\"B C\"D\\UNSETUP.INI") == "C:\\AB CD\\UNSETUP.INI");
    CHECK(FirstArgument("SETUP.EXE \"\"") .empty());
}
