// The setup script's optional [Product] section: what Apps & Features and
// package managers show about the program beyond its name. Version,
// Publisher, URL and Icon; each may be missing.
#pragma once

#include "services/LocationTokens.h"

#include <string>

struct ProductFacts {
    std::string version;    // DisplayVersion, as written
    std::string publisher;  // Publisher
    std::string url;        // URLInfoAbout
    std::string icon;       // DisplayIcon: a file, optionally ",index"; tokens expanded
};

ProductFacts ReadProductSection(const std::string& scriptPath, const LocationTable& folders);
