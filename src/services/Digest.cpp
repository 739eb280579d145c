#include "services/Digest.h"

#include "packageformat/Sha256.h"

// Computed here rather than by the system's cryptographic provider: loading
// the provider (and, under Wine, the TLS libraries behind it) cost more than
// every line a journal seals.
std::string Sha256Hex(const std::string& bytes)
{
    Sha256 digest;
    digest.Add(std::string_view(bytes));
    return digest.FinishHex();
}
