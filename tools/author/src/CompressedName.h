// How a compressed file is named: the last character of the name becomes
// "_" and is stored in the file's header, from where the system's expander
// (GetExpandedName) puts it back. Names are Shift-JIS.
//
//   README.TXT -> README.TX_ (stores "T")    A.C -> A._ (stores "C")
//   README     -> README._   (stores none: the expander gives "README.",
//                             which Windows saves as README)
//
// The expander only puts the character back when the name has an extension,
// so a name without one gets "._" instead. A name that already ends in "_",
// ends in a dot, or ends in a two-byte character has no such form.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CompressedName {
    std::string name;
    unsigned char storedChar = 0;  // 0: none stored
};

// The compressed form of `fileName`, or nothing with `why` set.
std::optional<CompressedName> CompressedNameFor(const std::string& fileName, std::string& why);

// How a file of the source folder can be the original of a compressed name
// that an author wrote in a script: our own form (same name but the last
// character, which the header then stores) or the form of other tools that
// append "_" (README.TXT_ from README.TXT, README._ from README), which
// stores no character. Only originals whose name the expander gives back
// count: README_ has none, since without a dot the name stays README_.
struct OriginalName {
    std::string name;
    unsigned char storedChar = 0;
};
std::optional<OriginalName> OriginalFor(const std::string& compressedName, const std::string& candidate);

// The name under which the system's expander names the expanded file: with
// an extension, the last "_" becomes the stored character, or is dropped
// when none is stored; without an extension the name stays as it is.
std::string ExpandedName(const std::string& compressedName, unsigned char storedChar);

// True for a name that the installer treats as compressed: it ends in "_".
bool IsCompressedName(const std::string& name);
