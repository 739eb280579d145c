// The form of a journal's lines, as Journal.h describes it: the kind and
// fields of a line, escaped and separated by tabs, and the seal that ends
// each line and ties it to the lines before it. The journal's writer and
// its reader share it, and so does anything that must make a journal line
// for line as the writer makes one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline constexpr char JournalSignature[] = "OrvaneJournal 2";
inline constexpr char JournalEndLine[] = "end";

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
