#include "support/LzFixtures.h"

#include "support/Fixtures.h"
#include "support/Scratch.h"

#include <doctest/doctest.h>

std::string LzFixtureFolder()
{
    return ProgramFolder() + "..\\fixtures\\lz\\";
}

std::string LzFixture(const std::string& name)
{
    const std::string bytes = ReadTextFile(LzFixtureFolder() + name);
    REQUIRE_MESSAGE(bytes.size() >= 16, "fixture missing: " << name);
    return bytes;
}

std::string ClassicLzForm(std::string compressed, char lastCharacter)
{
    // The stored character follows the signature and the method byte.
    compressed[9] = lastCharacter;
    return compressed;
}
