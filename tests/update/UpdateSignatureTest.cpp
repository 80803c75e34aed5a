#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include "tests/update/UpdateCheckFixture.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

Key NewKey() {
    return Key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
}

QByteArray Sign(EVP_PKEY* key, const std::string& data) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    EVP_MD_CTX_free);
    size_t size = 64;
    QByteArray signature(static_cast<int>(size), '\0');
    EXPECT_EQ(EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key), 1);
    EXPECT_EQ(
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(data.data()), data.size()),
        1);
    return signature;
}

void WritePublicKey(EVP_PKEY* key, const fs::path& file) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new(BIO_s_mem()), BIO_free);
    ASSERT_EQ(PEM_write_bio_PUBKEY(bio.get(), key), 1);
    char* data = nullptr;
    long size = BIO_get_mem_data(bio.get(), &data);
    WriteFile(file, std::string(data, static_cast<size_t>(size)));
}

// The installation holds the update key: the executable must come with its signature.
class UpdateSignatureTest : public UpdateCheckFixture {
protected:
    void SetUp() override {
        UpdateCheckFixture::SetUp();
        m_key = NewKey();
        ASSERT_NE(m_key, nullptr);
        WritePublicKey(m_key.get(), Install() / "update-key.pem");
    }
    Key m_key;
};

TEST_F(UpdateSignatureTest, GoodSignatureInstalls) {
    m_server.Serve("/Moxel.exe.sig", Sign(m_key.get(), m_newProgram));
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateInstalled);
    EXPECT_EQ(ReadFile(Executable()), m_newProgram);
}

TEST_F(UpdateSignatureTest, MissingWrongOrForeignSignatureChangesNothing) {
    Key other = NewKey();
    QByteArray good = Sign(m_key.get(), m_newProgram);
    QByteArray tampered = good;
    tampered[10] = static_cast<char>(tampered[10] ^ 0x01);
    struct Case {
        const char* name;
        std::vector<TestHttpServer::Reply> replies;
    };
    for (const Case& c : {Case{"missing", {}}, Case{"wrong", {{200, tampered}}},
                          Case{"other key", {{200, Sign(other.get(), m_newProgram)}}},
                          Case{"of another file", {{200, Sign(m_key.get(), m_oldProgram)}}},
                          Case{"cut short", {{200, good, TestHttpServer::Reply::kCutAfter, 32}}},
                          Case{"error page", {{500, good}}}}) {
        SCOPED_TRACE(c.name);
        m_server.Serve("/Moxel.exe.sig", c.replies);
        ScriptedUpdatePrompts prompts;
        EXPECT_EQ(Run(prompts), kUpdateDeclinedOrInstallFailed);
        ExpectNothingChanged();
    }
}

TEST_F(UpdateSignatureTest, KeyFileThatHoldsNoUsableKeyRefusesEveryDownload) {
    WriteFile(Install() / "update-key.pem", "-----BEGIN PUBLIC KEY-----\nbroken\n");
    m_server.Serve("/Moxel.exe.sig", Sign(m_key.get(), m_newProgram));
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateDeclinedOrInstallFailed);
    ExpectNothingChanged();
}

TEST_F(UpdateCheckFixture, WithoutAKeyNoSignatureIsAskedFor) {
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateInstalled);
    EXPECT_EQ(m_server.Requests("/Moxel.exe.sig"), 0);
}

}  // namespace
}  // namespace zelvo::test
