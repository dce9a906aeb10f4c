#include <gtest/gtest.h>

#include <string>

#include "Helper/TextHelpers.h"

namespace keyloom {
namespace {

TEST(Md5, Rfc1321Suite) {
    const std::pair<std::string, std::string> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& [text, digest] : suite) EXPECT_EQ(md5(text), digest) << '"' << text << '"';
}

TEST(EncryptAES, KnownAnswersAndLengths) {
    const std::string key = "0123456789abcdef";
    // From the openssl command line (aes-128-ecb, key bytes = the key text's codes): 24 and 44 characters.
    EXPECT_EQ(encryptAES("", key), "N3Ii4GGpJMWRzZwn6hY+1A==");
    EXPECT_EQ(encryptAES("0123456789abcdef", key), "cnJ+iB7c/QEApxhoeQm1ZTdyIuBhqSTFkc2cJ+oWPtQ=");
    EXPECT_EQ(encryptAES(std::string(100, 'x'), key).find_first_of("\r\n"), std::string::npos);  // 152 characters
    EXPECT_EQ(encryptAES("secret", "0123456789abcde"), "");  // a short key must not be read past its end
}

TEST(ValidateEmail, AcceptsAndRejects) {
    for (const char* email : {"John.Doe+tag@mail-server.example.com", "x_y%z-1@host.info"})
        EXPECT_TRUE(validateEmail(email)) << email;
    EXPECT_TRUE(validateEmail(std::string(200000, 'a') + "@b.com"));  // judged, not a stack overflow
    // "\n" at the end: the whole text must match.
    for (const char* email : {"a@b.c", "a@b.museum", "a@bcom", "a@b.com\n", "", "a b@c.com", "\xC3\xA4@b.com"})
        EXPECT_FALSE(validateEmail(email)) << '"' << email << '"';
}

}  // namespace
}  // namespace keyloom
