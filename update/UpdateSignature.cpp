#include "update/UpdateSignature.h"

#include <fstream>
#include <memory>

#include <openssl/evp.h>
#include <openssl/pem.h>

namespace zelvo {
namespace {

constexpr size_t kEd25519SignatureBytes = 64;
constexpr size_t kMaxKeyFileBytes = 16 * 1024;

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};

std::unique_ptr<EVP_PKEY, KeyFree> ReadPublicKey(const std::filesystem::path& file) {
    std::string pem;
    if (!ReadWholeFile(file, kMaxKeyFileBytes, pem)) return nullptr;
    std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) return nullptr;
    std::unique_ptr<EVP_PKEY, KeyFree> key(
        PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
    if (!key || EVP_PKEY_id(key.get()) != EVP_PKEY_ED25519) return nullptr;
    return key;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& file, size_t maxBytes, std::string& content) {
    std::error_code error;
    auto size = std::filesystem::file_size(file, error);
    if (error || size > maxBytes) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    content.assign(static_cast<size_t>(size), '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<size_t>(in.gcount()) == content.size();
}

bool VerifyUpdateSignature(const std::filesystem::path& publicKeyFile, std::string_view data,
                           std::string_view signature) {
    if (signature.size() != kEd25519SignatureBytes) return false;
    auto key = ReadPublicKey(publicKeyFile);
    if (!key) return false;
    std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    if (!context) return false;
    // Ed25519 signs the message itself, so no digest is named and the data goes in one piece.
    if (EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1) {
        return false;
    }
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                            signature.size(), reinterpret_cast<const unsigned char*>(data.data()),
                            data.size()) == 1;
}

}  // namespace zelvo
