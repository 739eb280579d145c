#include "services/Digest.h"

#include "script/HexText.h"
#include "services/UniqueResource.h"

#include <windows.h>
#include <wincrypt.h>

namespace {

struct ProviderTraits {
    using Type = HCRYPTPROV;
    static Type Empty() { return 0; }
    static void Release(Type provider) { CryptReleaseContext(provider, 0); }
};
using Provider = UniqueResource<ProviderTraits>;

struct HashTraits {
    using Type = HCRYPTHASH;
    static Type Empty() { return 0; }
    static void Release(Type hash) { CryptDestroyHash(hash); }
};
using Hash = UniqueResource<HashTraits>;

// Opened once: every line of a journal is digested, and a provider takes
// far longer to open than a line to hash. It holds no secret and no state
// between digests.
HCRYPTPROV SharedProvider()
{
    static const Provider provider = [] {
        Provider opened;
        CryptAcquireContextW(opened.Receive(), nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT);
        return opened;
    }();
    return provider.Get();
}

}  // namespace

std::string Sha256Hex(const std::string& bytes)
{
    const HCRYPTPROV provider = SharedProvider();
    Hash hash;
    if (provider == 0 || !CryptCreateHash(provider, CALG_SHA_256, 0, 0, hash.Receive())) return {};
    if (!CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0))
        return {};
    BYTE value[32] = {};
    DWORD size = sizeof value;
    if (!CryptGetHashParam(hash.Get(), HP_HASHVAL, value, &size, 0) || size != sizeof value) return {};
    return HexText(value, sizeof value);
}
