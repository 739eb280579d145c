#include "SignatureCheck.h"

#include "packageformat/PeSignature.h"

#include <string_view>

namespace {

// WIN_CERTIFICATE: its length, revision 2.0 and type PKCS#7 SignedData,
// the one kind Authenticode uses.
bool StartsWithAuthenticode(const std::vector<uint8_t>& file, const PeSignature::Layout& layout)
{
    const uint8_t* entry = file.data() + layout.tableOffset;
    const auto little = [&](int at, int width) { return PeSignature::Detail::Little(entry + at, width); };
    const uint64_t length = little(0, 4);
    return length > 8 && length <= layout.tableSize && little(4, 2) == 0x0200 && little(6, 2) == 0x0002;
}

// The bytes a signing tool rewrites: the checksum and the security entry.
bool IsRewrittenField(uint64_t at, const PeSignature::Layout& layout)
{
    return (at >= layout.checksumOffset && at < layout.checksumOffset + 4) ||
           (at >= layout.securityEntryOffset && at < layout.securityEntryOffset + 8);
}

}  // namespace

std::string AppendedSignatureProblem(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after)
{
    const auto original = PeSignature::ReadLayout(before.data(), before.size());
    if (!original) return "is no Windows program that could be signed";
    const auto layout = PeSignature::ReadLayout(after.data(), after.size());
    if (!layout) return "is no longer a Windows program whose certificate table ends the file";
    if (!layout->Signed()) return "is not signed (its header names no certificate table)";
    if (!StartsWithAuthenticode(after, *layout)) return "has a certificate table that holds no Authenticode signature";
    if (layout->checksumOffset != original->checksumOffset ||
        layout->securityEntryOffset != original->securityEntryOffset)
        return "was changed in its headers";
    const uint64_t content = original->ContentEnd(before.size());
    if (layout->tableOffset < content || layout->tableOffset - content > PeSignature::kMaxAlignment)
        return "was changed in length: " + std::to_string(content) + " bytes before its signature became " +
               std::to_string(layout->tableOffset);
    for (uint64_t at = 0; at < layout->tableOffset; ++at) {
        const uint8_t expected = at < content ? before[at] : 0;
        if (after[at] != expected && !IsRewrittenField(at, *layout))
            return "was changed at byte " + std::to_string(at) + ", not only signed";
    }
    return "";
}
