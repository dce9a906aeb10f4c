#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

std::string utf8(char32_t c) {
    if (c < 0x80) return {char(c)};
    if (c < 0x800) return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    if (c < 0x10000) return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    return {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
}

// Unicode's own conformance file: each line is code points with "÷" where a character ends and "×" where it does not.
TEST(CharacterBoundaries, UnicodeGraphemeBreakTest) {
    std::ifstream file("/usr/share/unicode/auxiliary/GraphemeBreakTest.txt");
    ASSERT_TRUE(file) << "GraphemeBreakTest.txt is missing: run scripts/setup (Debian's unicode-data)";
    size_t lines = 0, passed = 0;
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string text;
        std::vector<size_t> ends;
        for (std::string field; fields >> field;) {
            if (field == "\xC3\xB7") {  // ÷
                if (!text.empty()) ends.push_back(text.size());
            } else if (field != "\xC3\x97") {  // ×
                text += utf8(char32_t(std::stoul(field, nullptr, 16)));
            }
        }
        if (text.empty()) continue;
        ++lines;
        const bool same = characterBoundaries(text) == ends;
        passed += same;
        EXPECT_TRUE(same) << line;
        EXPECT_EQ(characterCount(text), ends.size()) << line;
    }
    EXPECT_EQ(passed, lines);
    EXPECT_GE(lines, 602u);  // Unicode 15.0's file
}

TEST(CharacterCount, UserPerceivedCharacters) {
    const std::pair<std::string, size_t> cases[] = {
        {"", 0},
        {"password", 8},
        {"\xE0\xB0\xB0\xF0\x9F\x98\x80", 2},                      // Telugu RA, then an emoji outside the 16-bit range
        {"\xE0\xA4\x95\xE0\xA5\x8D\xE0\xA4\xB7", 1},              // the Devanagari conjunct KSSA
        {" \xE0\xA4\x83", 1},                                     // space and a spacing mark (VISARGA)
        {"e\xCC\x81", 1},                                         // e with a combining acute
        {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 1},                  // thumbs up with a skin tone
        {"\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\xF0\x9F\x87\xAB", 2},  // a flag, then a lone regional indicator
        {"\r\n", 1},
    };
    for (const auto& [text, count] : cases) EXPECT_EQ(characterCount(text), count) << '"' << text << '"';
}

// Ill-formed UTF-8 is never cut inside a code point next to it; each ill-formed sequence counts as one.
TEST(CharacterBoundaries, IllFormedBytes) {
    const std::pair<std::string, std::vector<size_t>> cases[] = {
        {"\xF0\x9F\x98"
         "a",
         {3, 4}},                          // an emoji's first three bytes
        {"a\xFF\xE0\xB0\xB0", {1, 2, 5}},  // a byte never in UTF-8, then Telugu RA
        {"\xED\xA0\x80", {1, 2, 3}},       // an encoded surrogate: three ill-formed bytes
    };
    for (const auto& [text, ends] : cases) EXPECT_EQ(characterBoundaries(text), ends) << '"' << text << '"';
}

}  // namespace
}  // namespace keyloom
