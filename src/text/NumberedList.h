// Lists kept in profile files as numbered keys: a fixed prefix followed by
// 1, 2, 3 ... without gaps.
#pragma once

#include <string>
#include <vector>

// The values of `prefix`1, `prefix`2, ... in order, up to the first key whose
// value is empty; a missing key counts as empty, so a gap ends the list and
// nothing after it is read. Each value is what ReadProfile gives for its key,
// but the file is read once, not once per key.
std::vector<std::string> ReadNumberedList(const std::string& section, const std::string& prefix,
                                          const std::string& file);
