// The numbering of the record's list sections, worked out in memory.
//
// Written item by item, each list would be numbered by FindNumberedKey: an
// item takes the number of the entry whose first field (the text before its
// first comma) equals its own, case ignored under the user's locale, or else
// the first number whose field is empty; and a DeleteFile item keeps an "/S"
// of the value it replaces. That costs a read of the list and a rewrite of
// the whole file per item. This class follows the same rule with the entries
// indexed by their field, so that a section of a thousand items is numbered
// at once and can be written with one system call.
#pragma once

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class RecordSectionNumbering {
public:
    // `keepSharedSwitch` for the DeleteFile section only.
    explicit RecordSectionNumbering(bool keepSharedSwitch) : keepSharedSwitch_(keepSharedSwitch) {}

    // Numbers and stores one item as the key-by-key writer would.
    void Add(const std::string& item);

    // The values to write, number 1 first.
    const std::vector<std::string>& Values() const { return values_; }

private:
    int NumberFor(const std::string& item) const;
    void Store(int number, std::string value);
    void Unindex(int number);

    bool keepSharedSwitch_;
    std::vector<std::string> values_;  // as written; number = index + 1
    std::vector<std::string> fields_;  // the first field of each value as the profile reads it back
    std::set<int> emptyFields_;        // numbers whose field reads back empty
    std::unordered_map<std::string, std::set<int>> numbersByKey_;  // ListEntryKey of a field
};

// A section's numbered values from its items in list order.
std::vector<std::string> NumberRecordSection(const std::vector<std::string>& items, bool keepSharedSwitch);

// A text that two list fields share exactly when SameListEntry finds them
// equal: the user locale's case-blind sort key.
std::string ListEntryKey(const std::string& field);
