#include "record/RecordNumbering.h"

#include "script/TextCase.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"
#include "text/Unicode.h"

#include <windows.h>

#include <cstring>

std::string ListEntryKey(const std::string& field)
{
    // The sort key of the field's UTF-16 text (the ANSI call makes the same
    // one on a Japanese system); its size is counted in bytes.
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const std::wstring wide = WideFromShiftJis(field);
    const int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), -1, nullptr, 0);
    if (size > 0) {
        std::string key(static_cast<size_t>(size), '\0');
        if (LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), -1, reinterpret_cast<LPWSTR>(key.data()), size) >
            0) {
            key.resize(std::strlen(key.c_str()));
            return key;
        }
    }
    // Without a sort key the field stands for itself; equal fields still
    // meet, and SameListEntry remains the judge within a key.
    return "raw:" + field;
}

int RecordSectionNumbering::NumberFor(const std::string& item) const
{
    // The search of FindNumberedKey stops at the first empty field, and
    // before it at the first field equal to the item's.
    const int firstEmpty = emptyFields_.empty() ? static_cast<int>(values_.size()) + 1 : *emptyFields_.begin();
    const std::string wanted = ListEntryField(item);
    const auto found = numbersByKey_.find(ListEntryKey(wanted));
    if (found != numbersByKey_.end()) {
        for (const int number : found->second) {
            if (number >= firstEmpty) break;
            if (SameListEntry(fields_[static_cast<size_t>(number) - 1], wanted)) return number;
        }
    }
    return firstEmpty;
}

void RecordSectionNumbering::Unindex(int number)
{
    const std::string& field = fields_[static_cast<size_t>(number) - 1];
    if (field.empty()) {
        emptyFields_.erase(number);
        return;
    }
    const auto bucket = numbersByKey_.find(ListEntryKey(field));
    if (bucket == numbersByKey_.end()) return;
    bucket->second.erase(number);
    if (bucket->second.empty()) numbersByKey_.erase(bucket);
}

void RecordSectionNumbering::Store(int number, std::string value)
{
    std::string field = ListEntryField(ProfileValueAsRead(value));
    if (number > static_cast<int>(values_.size())) {
        values_.push_back(std::move(value));
        fields_.emplace_back();
    } else {
        Unindex(number);
        values_[static_cast<size_t>(number) - 1] = std::move(value);
    }
    if (field.empty())
        emptyFields_.insert(number);
    else
        numbersByKey_[ListEntryKey(field)].insert(number);
    fields_[static_cast<size_t>(number) - 1] = std::move(field);
}

void RecordSectionNumbering::Add(const std::string& item)
{
    const int number = NumberFor(item);
    std::string value = item;
    if (keepSharedSwitch_ && number <= static_cast<int>(values_.size())) {
        // A shared file stays counted: the switch of the value being
        // replaced survives an item that has lost it.
        const std::string stored = ProfileValueAsRead(values_[static_cast<size_t>(number) - 1]);
        if (Contains(stored, "/S") && !Contains(item, "/S")) value += Contains(item, ",/") ? "/S" : ",/S";
    }
    Store(number, std::move(value));
}

std::vector<std::string> NumberRecordSection(const std::vector<std::string>& items, bool keepSharedSwitch)
{
    RecordSectionNumbering numbering(keepSharedSwitch);
    for (const std::string& item : items) numbering.Add(item);
    return numbering.Values();
}
