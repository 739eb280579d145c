// The ways setup-script and record values are cut into fields. Every
// separator is found with TokenPos, so the second byte of a two-byte
// character is never taken for "," or "|".
#pragma once

#include <string>

struct SplitText {
    std::string before;  // the whole text when the separator is absent
    std::string after;   // empty when the separator is absent
    bool found = false;
};

// Cuts `text` at the first `separator`, which belongs to neither side.
SplitText SplitAtFirst(const std::string& text, const std::string& separator);

// Takes the text before the first comma off the front of `rest`, together
// with the comma. Without a comma the field is empty and `rest` stays whole.
std::string TakeLeadingField(std::string& rest);
