// Longest earlier match for every position of a text, within the window of
// the compressed format. Positions are kept in binary search trees ordered
// by their following bytes, one tree per hash of the first three bytes; each
// new position becomes the root of its tree, so every node is newer than
// the nodes below it and a node that has left the window ends the search.
#pragma once

#include <cstdint>
#include <vector>

struct Match {
    int length = 0;    // 0 when there is no match of at least kMinMatch bytes
    int distance = 0;  // how far back it starts, 1 .. kMaxDistance
};

class MatchFinder {
public:
    // `text` must outlive the finder. Positions must be passed in order,
    // each exactly once, starting at 0.
    explicit MatchFinder(const std::vector<uint8_t>& text);

    // Inserts `position` and returns its longest match among the earlier
    // positions (the newest of equal length).
    Match InsertAndFind(int position);

private:
    int HashAt(int position) const;

    const std::vector<uint8_t>& text_;
    std::vector<int32_t> roots_;
    std::vector<int32_t> smaller_;  // per window slot: subtree of smaller strings
    std::vector<int32_t> greater_;  // per window slot: subtree of greater strings
};
