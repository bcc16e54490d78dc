#include "Sha256.h"

#include "BackupError.h"

#include <openssl/evp.h>

TSha256::TSha256() : m_context(EVP_MD_CTX_new()) {
    if (!m_context || EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(m_context);
        throw EBackupError(QStringLiteral("SHA-256 is not available"));
    }
}

TSha256::~TSha256() {
    EVP_MD_CTX_free(m_context);
}

void TSha256::Add(QByteArrayView bytes) {
    EVP_DigestUpdate(m_context, bytes.data(), size_t(bytes.size()));
}

QByteArray TSha256::HexResult() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context, digest, &length);
    EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr);
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}
