// The form of a journal's lines, as Journal.h describes it: each kind of
// line as a typed entry, its text (the kind and fields, escaped and
// separated by tabs) and the entry read back from it, and the seal that ends
// each line and ties it to the lines before it. The journal's writer, its
// reader and the undo share it, and so does anything that must make a
// journal line for line as the writer makes one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

inline constexpr char JournalSignature[] = "OrvaneJournal 2";
inline constexpr char JournalEndLine[] = "end";

// A registry value as it stood before a change: its type and its bytes.
struct KeptValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    bool operator==(const KeptValue&) const = default;
};

// One kind of line each, as Journal.h lists them.
struct FolderLine {  // folder
    std::string path;
    bool operator==(const FolderLine&) const = default;
};
struct FileLine {  // file
    std::string path;
    bool operator==(const FileLine&) const = default;
};
struct EarlierFileLine {  // aside (moved aside) or copy (copied)
    std::string path;
    std::string kept;
    bool copied = false;
    bool operator==(const EarlierFileLine&) const = default;
};
struct KeyLine {  // key
    HKEY root = nullptr;
    std::string path;
    bool operator==(const KeyLine&) const = default;
};
struct ValueLine {  // value; nothing before: it did not exist
    HKEY root = nullptr;
    std::string path;
    std::string name;
    std::optional<KeptValue> before;
    bool operator==(const ValueLine&) const = default;
};
struct IniLine {  // ini; nothing before: it did not exist
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> before;
    bool operator==(const IniLine&) const = default;
};
struct RegisteredLine {  // registered
    std::string path;
    bool replacedEarlier = false;
    bool operator==(const RegisteredLine&) const = default;
};
using JournalEntry = std::variant<FolderLine, FileLine, EarlierFileLine, KeyLine, ValueLine, IniLine, RegisteredLine>;

// The kind word that starts an entry's line.
const char* KindOf(const JournalEntry& entry);

// An entry's line text, as the journal writes it.
std::string JournalEntryText(const JournalEntry& entry);

// The entry a line's text (not the signature, run or end line) holds; nothing,
// and why in `fault`, when the text is no line the journal's writer makes.
std::optional<JournalEntry> JournalEntryOf(const std::string& text, std::string& fault);

// Root names as the journal writes them.
std::string RootName(HKEY root);
std::optional<HKEY> RootNamed(const std::string& name);

// A line's text: its kind and fields, each field escaped, separated by tabs.
std::string JournalLineText(const std::string& kind, const std::vector<std::string>& fields);

// The kind and the fields of a line's text, unescaped.
std::vector<std::string> JournalLineFields(const std::string& text);

// The seals of a journal's lines, in their order.
class JournalSeal {
public:
    // `text` followed by a tab and its seal, the next link of the chain;
    // the seal is empty when the system cannot compute one.
    std::string Sealed(const std::string& text);
    // Takes `line` (a text and its seal) as the next link; false, with the
    // chain unchanged, when its seal is not the one that follows.
    bool Accept(const std::string& line, std::string& text);
    // Goes on from a chain read from a file.
    void ContinueFrom(std::string seal) { last_ = std::move(seal); }
    const std::string& Last() const { return last_; }

private:
    std::string last_;
};

// Whether a journal line must reach the disk itself before its change is
// made, or may wait in the system's cache like any other write. Either way
// it is in the file as soon as it is written: a killed program loses
// nothing; only a power cut or a crash of the system loses what waited.
enum class LineDurability { Cached, OnDisk };

// Writes `text`, sealed and ended by CR LF, and (OnDisk) flushes the file
// to disk: false when it is not there (or could not be sealed).
bool WriteJournalLine(HANDLE file, JournalSeal& seal, const std::string& text,
                      LineDurability durability = LineDurability::OnDisk);
