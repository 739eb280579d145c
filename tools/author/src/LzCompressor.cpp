#include "LzCompressor.h"

#include "LzFormat.h"
#include "MatchFinder.h"

#include <algorithm>

namespace {

// Items are gathered in groups of eight behind one flag byte.
class ItemWriter {
public:
    explicit ItemWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Literal(uint8_t byte)
    {
        StartItem(true);
        out_.push_back(byte);
    }

    // `dataIndex` is where the copy goes in the expanded data; the expander
    // finds the source as a position in its window, which it started
    // writing at kFirstWritePosition.
    void Reference(int64_t dataIndex, int distance, int length)
    {
        StartItem(false);
        const uint32_t position = static_cast<uint32_t>(lz::kFirstWritePosition + dataIndex - distance) &
                                  (lz::kWindowSize - 1);
        out_.push_back(static_cast<uint8_t>(position & 0xFF));
        out_.push_back(static_cast<uint8_t>(((position >> 4) & 0xF0) | (length - lz::kMinMatch)));
    }

private:
    void StartItem(bool literal)
    {
        if (itemsInGroup_ == 8) itemsInGroup_ = 0;
        if (itemsInGroup_ == 0) {
            flagIndex_ = out_.size();
            out_.push_back(0);
        }
        if (literal) out_[flagIndex_] |= static_cast<uint8_t>(1u << itemsInGroup_);
        ++itemsInGroup_;
    }

    std::vector<uint8_t>& out_;
    size_t flagIndex_ = 0;
    int itemsInGroup_ = 0;
};

void WriteHeader(std::vector<uint8_t>& out, unsigned char storedLastChar, uint64_t length)
{
    out.insert(out.end(), std::begin(lz::kMagic), std::end(lz::kMagic));
    out.push_back(lz::kModeA);
    out.push_back(storedLastChar);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(length >> shift));
}

// The text the match finder works on: the blanks that fill the expander's
// window before the data, so that the data may refer to them too.
std::vector<uint8_t> WithWindowFill(const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> text(lz::kWindowSize + data.size());
    std::fill(text.begin(), text.begin() + lz::kWindowSize, lz::kWindowFill);
    std::copy(data.begin(), data.end(), text.begin() + lz::kWindowSize);
    return text;
}

constexpr int kLiteralBits = 9;     // one flag bit and the byte
constexpr int kReferenceBits = 17;  // one flag bit and two bytes
constexpr int kBlockSize = 1 << 16;

// Chooses, for one block of positions, the items that take the fewest bits
// (and so the fewest bytes: the output is bits / 8 rounded up), working back
// from the block's end. Every match may be used at any length from the
// shortest allowed up to its longest.
class BlockParser {
public:
    void Parse(const std::vector<Match>& matches, std::vector<int>& choice)
    {
        const int count = static_cast<int>(matches.size());
        cost_.assign(static_cast<size_t>(count) + 1, 0);
        choice.assign(static_cast<size_t>(count), 1);
        for (int k = count - 1; k >= 0; --k) {
            uint32_t best = cost_[k + 1] + kLiteralBits;
            const int longest = std::min(matches[k].length, count - k);
            for (int length = lz::kMinMatch; length <= longest; ++length) {
                const uint32_t cost = cost_[k + length] + kReferenceBits;
                if (cost < best) {
                    best = cost;
                    choice[k] = length;
                }
            }
            cost_[k] = best;
        }
    }

private:
    std::vector<uint32_t> cost_;
};

}  // namespace

std::vector<uint8_t> CompressLz(const std::vector<uint8_t>& data, unsigned char storedLastChar)
{
    std::vector<uint8_t> out;
    out.reserve(lz::kHeaderSize + data.size() / 2 + 64);
    WriteHeader(out, storedLastChar, data.size());

    const std::vector<uint8_t> text = WithWindowFill(data);
    MatchFinder finder(text);
    for (int position = 0; position < lz::kWindowSize; ++position) finder.InsertAndFind(position);

    ItemWriter writer(out);
    BlockParser parser;
    std::vector<Match> matches;
    std::vector<int> choice;
    const int64_t size = static_cast<int64_t>(data.size());
    for (int64_t blockStart = 0; blockStart < size; blockStart += kBlockSize) {
        const int count = static_cast<int>(std::min<int64_t>(kBlockSize, size - blockStart));
        matches.resize(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k)
            matches[k] = finder.InsertAndFind(static_cast<int>(lz::kWindowSize + blockStart + k));
        parser.Parse(matches, choice);
        for (int k = 0; k < count;) {
            const int64_t index = blockStart + k;
            if (choice[k] == 1) {
                writer.Literal(data[static_cast<size_t>(index)]);
            } else {
                writer.Reference(index, matches[k].distance, choice[k]);
            }
            k += choice[k];
        }
    }
    return out;
}
