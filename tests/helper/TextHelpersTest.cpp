#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Helper/TextHelpers.h"

namespace keyloom {
namespace {

const std::string kKey = "0123456789abcdef";

TEST(Md5, Rfc1321Suite) {
    const std::pair<std::string, std::string> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : suite) EXPECT_EQ(md5(text), digest) << '"' << text << '"';
}

TEST(Md5, HashesUtf8BytesAndEmbeddedZeros) {
    EXPECT_EQ(md5("p\xC3\xA4ssw\xC3\xB6rd"), "12841e4ba5e37d2fbfc78458c6714ade");  // "pässwörd"
    EXPECT_NE(md5(std::string("a\0b", 3)), md5("a"));
}

TEST(EncryptAES, KnownAnswers) {
    // Reference values from the openssl command line (aes-128-ecb, key bytes = the key text's codes).
    EXPECT_EQ(encryptAES("", kKey), "N3Ii4GGpJMWRzZwn6hY+1A==");
    EXPECT_EQ(encryptAES("0123456789abcdef", kKey), "cnJ+iB7c/QEApxhoeQm1ZTdyIuBhqSTFkc2cJ+oWPtQ=");
}

TEST(EncryptAES, LengthFollowsPaddingRule) {
    // n bytes -> 16 * (n / 16 + 1) cipher bytes -> 4 * ceil(that / 3) base64 characters, on one line.
    for (size_t n : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 100u, 1000u}) {
        const std::string encoded = encryptAES(std::string(n, 'x'), kKey);
        const size_t cipher = 16 * (n / 16 + 1);
        EXPECT_EQ(encoded.size(), 4 * ((cipher + 2) / 3)) << n;
        EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos) << n;
    }
    EXPECT_EQ(encryptAES("", kKey).size(), 24u);
    EXPECT_EQ(encryptAES(std::string(16, 'x'), kKey).size(), 44u);
}

TEST(EncryptAES, FailsToEmptyTextWithoutAUsableKey) {
    EXPECT_EQ(encryptAES("secret", ""), "");
    EXPECT_EQ(encryptAES("secret", "0123456789abcde"), "");
    EXPECT_EQ(encryptAES("secret", "0123456789abcdef0"), "");
}

TEST(EncryptAES, UsesConfiguredKey) {
    setenv("KEYLOOM_AES_KEY", kKey.c_str(), 1);
    EXPECT_EQ(encryptAES(""), "N3Ii4GGpJMWRzZwn6hY+1A==");
    setenv("KEYLOOM_AES_KEY", "", 1);
    EXPECT_EQ(encryptAES(""), "");
    unsetenv("KEYLOOM_AES_KEY");
}

TEST(ValidateEmail, AcceptsAndRejects) {
    const std::pair<std::string, bool> cases[] = {
        {"John.Doe+tag@mail-server.example.com", true},  // capitals, "+" and "." before; hyphen, two dots after
        {"a@b.cd", true},
        {"x_y%z-1@host.info", true},
        {"A@B.CO", true},
        {"a@b.c", false},       // one letter at the end
        {"a@b.museum", false},  // six letters
        {"a@bcom", false},      // no dot after "@"
        {" a@b.com", false},    // leading blank
        {"a@b.com.", false},    // trailing dot
        {"a@b.com\n", false},   // trailing line break
        {"a@b.com ", false},
        {"", false},
        {"@b.com", false},
        {"a@b@c.com", false},
        {"a b@c.com", false},
        {"\xC3\xA4@b.com", false},  // non-ASCII letter
        {"a@b.c0m", false},
    };
    for (const auto& [email, valid] : cases) EXPECT_EQ(validateEmail(email), valid) << '"' << email << '"';
}

TEST(ValidateEmail, LongInputIsJudgedNotFatal) {
    EXPECT_TRUE(validateEmail(std::string(200000, 'a') + "@b.com"));
    EXPECT_FALSE(validateEmail(std::string(200000, '.') + "@" + std::string(200000, '.') + ".c"));
}

TEST(CharacterCount, CountsGraphemeClusters) {
    const std::pair<std::string, size_t> cases[] = {
        {"", 0},
        {"abc", 3},
        {"\xC3\xA9", 1},                                      // é precomposed
        {"e\xCC\x81", 1},                                     // e + combining acute
        {"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9", 1},  // man ZWJ woman
        {"d41d8cd98f00b204e9800998ecf8427e", 32},
    };
    for (const auto& [text, count] : cases) EXPECT_EQ(characterCount(text), count) << '"' << text << '"';
}

}  // namespace
}  // namespace keyloom
