#include "script/NumberedKeys.h"

#include "script/TextCase.h"
#include "script/TextParts.h"

NumberedKeys::NumberedKeys(const ProfileText& profile, const std::string& section)
{
    const ProfileSection* found = profile.FindSection(section);
    if (found == nullptr) return;
    for (const ProfileKey& key : found->keys) keys_.emplace(AsciiUpper(key.name), &key);
}

std::string NumberedKeys::Value(const std::string& key, const std::string& fallback) const
{
    const auto found = keys_.find(AsciiUpper(TrimBlanks(key)));
    if (found == keys_.end() || !found->second->value) return fallback;
    return *found->second->value;
}

std::vector<std::string> NumberedKeys::List(const std::string& prefix) const
{
    std::vector<std::string> values;
    for (int n = 1;; ++n) {
        std::string value = Value(prefix + std::to_string(n));
        if (value.empty()) return values;
        values.push_back(std::move(value));
    }
}
