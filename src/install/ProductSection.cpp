#include "install/ProductSection.h"

#include "text/IniFile.h"

ProductFacts ReadProductSection(const std::string& scriptPath, const LocationTable& folders)
{
    const auto read = [&](const char* key) { return ReadProfile("Product", key, "", scriptPath); };
    return {read("Version"), read("Publisher"), read("URL"), ExpandTokens(read("Icon"), folders)};
}
