#include "Helper/TextHelpers.h"

#include <openssl/evp.h>

#include <QRegularExpression>
#include <QString>
#include <QTextBoundaryFinder>
#include <climits>
#include <cstdio>
#include <memory>
#include <vector>

#include "Helper/AccountSettings.h"

namespace keyloom {

bool validateEmail(const std::string& email) {
    // PCRE rather than std::regex: a long pasted text must not exhaust the stack. anchoredPattern matches the whole
    // text (unlike ^...$, which would accept a trailing line break).
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}")));
    return pattern.match(QString::fromStdString(email)).hasMatch();
}

std::string md5(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

std::string encryptAES(const std::string& strToEncode) {
    return encryptAES(strToEncode, AccountSettings::aesKey());
}

std::string encryptAES(const std::string& strToEncode, const std::string& key) {
    if (key.size() != 16 || strToEncode.size() > static_cast<std::size_t>(INT_MAX - 16)) return {};
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!ctx) return {};
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    // ECB with the default PKCS#7 padding: n bytes give 16 * (n / 16 + 1) bytes.
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, keyBytes, nullptr) != 1) return {};
    std::vector<unsigned char> cipher(strToEncode.size() + 16);
    int written = 0;
    int tail = 0;
    if (EVP_EncryptUpdate(ctx.get(), cipher.data(), &written,
                          reinterpret_cast<const unsigned char*>(strToEncode.data()),
                          static_cast<int>(strToEncode.size())) != 1)
        return {};
    if (EVP_EncryptFinal_ex(ctx.get(), cipher.data() + written, &tail) != 1) return {};
    const int cipherLength = written + tail;
    // EVP_EncodeBlock writes plain base64 with "=" padding and no line breaks, plus a terminating NUL.
    std::string encoded(static_cast<std::size_t>(4 * ((cipherLength + 2) / 3)) + 1, '\0');
    const int encodedLength =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()), cipher.data(), cipherLength);
    encoded.resize(static_cast<std::size_t>(encodedLength));
    return encoded;
}

std::size_t characterCount(const std::string& text) {
    const QString string = QString::fromStdString(text);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, string);
    std::size_t count = 0;
    while (finder.toNextBoundary() != -1) ++count;
    return count;
}

}  // namespace keyloom
