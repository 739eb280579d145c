// A setup script read with the rules of the system's profile reader, by the
// installer's own reader (src/text/ProfileText.h, where the rules are
// listed), so that the author tools read a script exactly as SETUP.EXE does.
// The file is Shift-JIS: one that SETUP.EXE refuses to read (UTF-16, a
// UTF-8 byte-order mark, a NUL byte, carriage returns alone) cannot be
// loaded (src/text/ScriptAcceptance.h).
#pragma once

#include "text/ProfileText.h"

#include <filesystem>
#include <optional>
#include <string>

class Profile : public ProfileText {
public:
    static Profile Parse(const std::string& text);
    // Nothing, with `error` set, when the file cannot be read or is not
    // text the installer reads.
    static std::optional<Profile> Load(const std::filesystem::path& file, std::string& error);

private:
    explicit Profile(ProfileText text) : ProfileText(std::move(text)) {}
};
