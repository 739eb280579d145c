// Reading a journal back: its lines, and whether they hold together as the
// journal's writer makes them.
#include "services/Journal.h"

#include "services/JournalFormat.h"
#include "text/Unicode.h"

#include <algorithm>
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

bool IsDecimal(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The run line: the process and its start, and the journal's start.
std::optional<JournalRun> RunOf(const std::vector<std::string>& fields)
{
    if (fields.size() != 4 || fields[0] != "run") return std::nullopt;
    for (size_t at = 1; at < 4; ++at)
        if (!IsDecimal(fields[at])) return std::nullopt;
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
            std::string fault;
            if (std::optional<JournalEntry> entry = JournalEntryOf(lineText, fault))
                contents.entries.push_back(std::move(*entry));
            else
                contents.fault = where + fault;
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
