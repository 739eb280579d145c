// The keys of one section of a profile, looked up as a read of each key
// would find them (names without regard to the case of ASCII letters, the
// first of a name winning, a key without "=" holding nothing), but indexed
// once: a list of thousands of numbered keys is read in one pass, not one
// pass per key.
#pragma once

#include "script/ProfileText.h"

#include <string>
#include <unordered_map>
#include <vector>

class NumberedKeys {
public:
    // The section a read of `section` searches (none: every key missing).
    NumberedKeys(const ProfileText& profile, const std::string& section);

    // What ProfileText::Read gives for the key.
    std::string Value(const std::string& key, const std::string& fallback = "") const;

    // The values of `prefix`1, `prefix`2, ... in order, up to the first
    // key whose value is empty; a missing key counts as empty, so a gap
    // ends the list and nothing after it is read.
    std::vector<std::string> List(const std::string& prefix) const;

private:
    std::unordered_map<std::string, const ProfileKey*> keys_;
};
