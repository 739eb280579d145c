#include "script/ProductSection.h"

ProductFacts ReadProductFacts(const ProfileText& script)
{
    const auto read = [&](const char* key) { return script.Read("Product", key); };
    return {read("Version"), read("Publisher"), read("URL"), read("Icon"), read("License"), read("Description")};
}
