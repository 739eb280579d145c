// Reading a journal back: its lines, and whether they hold together as the
// journal's writer makes them.
#include "services/Journal.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/JournalFormat.h"
#include "text/Unicode.h"

#include <cstdlib>

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    return text;
}

bool IsNumber(const std::string& text, bool hex)
{
    if (text.empty()) return false;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(hex && c >= 'A' && c <= 'F')) return false;
    }
    return true;
}

// An earlier file kept where AsideName puts it: OVJ<hex>.tmp beside the path.
bool KeptBeside(const std::string& path, const std::string& kept)
{
    const std::string name = AsciiUpper(FileNamePart(kept));
    return SameText(FolderPart(kept), FolderPart(path)) && name.size() > 7 &&
           name.compare(0, 3, "OVJ") == 0 && name.compare(name.size() - 4, 4, ".TMP") == 0 &&
           IsNumber(name.substr(3, name.size() - 7), true);
}

// Why an entry is no line the journal's writer makes; empty when it is one.
std::string FaultOf(const JournalEntry& entry)
{
    const std::vector<std::string>& f = entry.fields;
    const size_t n = f.size();
    const auto path = [&](size_t at) { return at < n && IsAbsoluteFolder(f[at]); };
    const auto root = [&] { return n > 0 && RootNamed(f[0]).has_value(); };
    bool fits = false;
    if (entry.kind == "folder" || entry.kind == "file") {
        fits = n == 1 && path(0);
    } else if (entry.kind == "aside" || entry.kind == "copy") {
        fits = n == 2 && path(0) && KeptBeside(f[0], f[1]);
    } else if (entry.kind == "key") {
        fits = n == 2 && root() && !f[1].empty();
    } else if (entry.kind == "value") {
        fits = root() && ((n == 4 && f[3] == "-") ||
                          (n == 5 && IsNumber(f[3], false) && (f[4].empty() || IsNumber(f[4], true)) &&
                           f[4].size() % 2 == 0));
    } else if (entry.kind == "ini") {
        fits = n == 4 && path(0) && (f[3] == "-" || f[3].rfind('=', 0) == 0);
    } else if (entry.kind == "registered") {
        fits = n == 2 && path(0) && (f[1] == "0" || f[1] == "1");
    } else {
        return "an unknown kind of line: " + entry.kind;
    }
    return fits ? std::string() : "a " + entry.kind + " line not in its form";
}

// The run line: the process and its start, and the journal's start.
std::optional<JournalRun> RunOf(const std::vector<std::string>& fields)
{
    if (fields.size() != 4 || fields[0] != "run") return std::nullopt;
    for (size_t at = 1; at < 4; ++at)
        if (!IsNumber(fields[at], false)) return std::nullopt;
    JournalRun run;
    run.processId = std::strtoul(fields[1].c_str(), nullptr, 10);
    run.startTime = std::strtoull(fields[2].c_str(), nullptr, 10);
    run.journalStart = std::strtoull(fields[3].c_str(), nullptr, 10);
    return run;
}

}  // namespace

std::optional<JournalContents> ReadJournal(const std::string& path)
{
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return std::nullopt;
    JournalContents contents;
    JournalSeal seal;
    size_t start = 0;
    for (int number = 1;; ++number) {
        const size_t end = text->find("\r\n", start);
        // A line without its end was being written when the run died: the
        // change it names was not made yet.
        if (end == std::string::npos) break;
        const std::string line = text->substr(start, end - start);
        start = end + 2;
        const std::string where = "line " + std::to_string(number) + ": ";
        std::string lineText;
        if (contents.ended) {
            contents.fault = where + "a line after the end";
        } else if (!seal.Accept(line, lineText)) {
            contents.fault = where + "its seal does not follow from the lines before it";
        } else if (number == 1) {
            if (lineText != JournalSignature) contents.fault = where + "no journal of this program";
        } else if (number == 2) {
            const std::optional<JournalRun> run = RunOf(JournalLineFields(lineText));
            if (run)
                contents.run = *run;
            else
                contents.fault = where + "no run line";
        } else if (lineText == JournalEndLine) {
            contents.ended = true;
        } else {
            std::vector<std::string> fields = JournalLineFields(lineText);
            JournalEntry entry{fields.front(), {fields.begin() + 1, fields.end()}};
            contents.fault = FaultOf(entry);
            if (!contents.fault.empty()) contents.fault = where + contents.fault;
            contents.entries.push_back(std::move(entry));
        }
        if (!contents.fault.empty()) break;
    }
    contents.lastSeal = seal.Last();
    return contents;
}

bool MarkJournalEnded(const std::string& path, const JournalContents& contents)
{
    FileHandle file(CreateFileW(WideFromShiftJis(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    JournalSeal seal;
    seal.ContinueFrom(contents.lastSeal);
    return WriteJournalLine(file.Get(), seal, JournalEndLine);
}
