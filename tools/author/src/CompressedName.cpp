#include "CompressedName.h"

#include "script/ShiftJis.h"
#include "script/TextCase.h"

std::optional<CompressedName> CompressedNameFor(const std::string& fileName, std::string& why)
{
    if (fileName.empty()) {
        why = "the name is empty";
        return std::nullopt;
    }
    if (!EndsWithSingleByte(fileName)) {
        why = "the name ends in a two-byte character, which the header cannot store";
        return std::nullopt;
    }
    const char last = fileName.back();
    if (last == '_') {
        why = "the name already ends in \"_\", the mark of a compressed file";
        return std::nullopt;
    }
    if (last == '.') {
        why = "the name ends in a dot";
        return std::nullopt;
    }
    if (MBPos(".", fileName) == 0) return CompressedName{fileName + "._", 0};
    return CompressedName{fileName.substr(0, fileName.size() - 1) + "_", static_cast<unsigned char>(last)};
}

bool IsCompressedName(const std::string& name)
{
    return !name.empty() && name.back() == '_' && EndsWithSingleByte(name);
}

std::optional<OriginalName> OriginalFor(const std::string& compressedName, const std::string& candidate)
{
    if (!IsCompressedName(compressedName) || candidate.empty()) return std::nullopt;
    const std::string stem = compressedName.substr(0, compressedName.size() - 1);
    // Our own form: everything but the last character is the same.
    if (candidate.size() == compressedName.size() && EndsWithSingleByte(candidate) &&
        SameText(candidate.substr(0, stem.size()), stem)) {
        std::string why;
        const auto back = CompressedNameFor(candidate, why);
        if (back && SameText(back->name, compressedName)) return OriginalName{candidate, back->storedChar};
    }
    // The appending form, which the expander undoes (it drops the "_") only
    // for a name with an extension; and our form for names without one.
    const bool stemHasExtension = MBPos(".", stem) != 0 && stem.back() != '.';
    if (stemHasExtension && SameText(candidate, stem)) return OriginalName{candidate, 0};
    if (stem.size() > 1 && stem.back() == '.' && SameText(candidate + ".", stem) && MBPos(".", candidate) == 0)
        return OriginalName{candidate, 0};
    return std::nullopt;
}

std::string ExpandedName(const std::string& compressedName, unsigned char storedChar)
{
    if (!IsCompressedName(compressedName) || MBPos(".", compressedName) == 0) return compressedName;
    const std::string stem = compressedName.substr(0, compressedName.size() - 1);
    return storedChar == 0 ? stem : stem + static_cast<char>(storedChar);
}
