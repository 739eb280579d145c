#include "MatchFinder.h"

#include "LzFormat.h"

#include <algorithm>

namespace {

constexpr int kHashBits = 16;
constexpr int32_t kNone = -1;
constexpr int kSlotMask = lz::kWindowSize - 1;
// Bounds the work on pathological data; ordinary data never goes this deep
// in a tree of at most one window of positions.
constexpr int kMaxDepth = 512;

}  // namespace

MatchFinder::MatchFinder(const std::vector<uint8_t>& text)
    : text_(text), roots_(size_t{1} << kHashBits, kNone), smaller_(lz::kWindowSize, kNone),
      greater_(lz::kWindowSize, kNone)
{
}

int MatchFinder::HashAt(int position) const
{
    const uint32_t key = text_[position] | (uint32_t{text_[position + 1]} << 8) | (uint32_t{text_[position + 2]} << 16);
    return static_cast<int>((key * 2654435761u) >> (32 - kHashBits));
}

Match MatchFinder::InsertAndFind(int position)
{
    Match best;
    const int available = static_cast<int>(text_.size()) - position;
    if (available < lz::kMinMatch) return best;
    const int maxLength = std::min(available, lz::kMaxMatch);

    const int hash = HashAt(position);
    int32_t node = roots_[hash];
    roots_[hash] = position;

    // The old tree is split around the new string: smaller nodes hang on the
    // new node's smaller side, greater ones on its greater side. The common
    // prefix with the nearest smaller and greater node bounds every later
    // comparison from below.
    int32_t* smallerLink = &smaller_[position & kSlotMask];
    int32_t* greaterLink = &greater_[position & kSlotMask];
    int smallerPrefix = 0;
    int greaterPrefix = 0;
    const uint8_t* current = text_.data() + position;

    for (int depth = 0;; ++depth) {
        if (node == kNone || position - node > lz::kMaxDistance || depth == kMaxDepth) {
            *smallerLink = kNone;
            *greaterLink = kNone;
            break;
        }
        const uint8_t* candidate = text_.data() + node;
        int length = std::min(smallerPrefix, greaterPrefix);
        while (length < maxLength && candidate[length] == current[length]) ++length;
        if (length > best.length) {
            best.length = length;
            best.distance = position - node;
        }
        const int slot = node & kSlotMask;
        if (length == maxLength) {
            // Equal as far as any match can reach: the new node takes the old
            // one's place and children, and the older twin leaves the tree.
            *smallerLink = smaller_[slot];
            *greaterLink = greater_[slot];
            break;
        }
        if (candidate[length] < current[length]) {
            *smallerLink = node;
            smallerLink = &greater_[slot];
            node = greater_[slot];
            smallerPrefix = length;
        } else {
            *greaterLink = node;
            greaterLink = &smaller_[slot];
            node = smaller_[slot];
            greaterPrefix = length;
        }
    }
    if (best.length < lz::kMinMatch) best = Match{};
    return best;
}
