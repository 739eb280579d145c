// The setup script's optional [Product] section: what Apps & Features and
// package managers show about the program beyond its name. Each key may be
// missing. The install writes the first four into its Add/Remove entry; the
// author tools give all six to winget.
#pragma once

#include "script/ProfileText.h"

#include <string>

struct ProductFacts {
    std::string version;      // DisplayVersion, as written
    std::string publisher;    // Publisher
    std::string url;          // URLInfoAbout
    std::string icon;         // DisplayIcon: a file, optionally ",index"; tokens not yet expanded
    std::string license;      // the winget manifests' License
    std::string description;  // their short description
};

ProductFacts ReadProductFacts(const ProfileText& script);
