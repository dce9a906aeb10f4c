#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace keyloom {

// True when the whole text is an e-mail address of the form the account screens accept.
bool validateEmail(const std::string& email);

// MD5 of the text's UTF-8 bytes as 32 lowercase hexadecimal digits.
std::string md5(const std::string& text);

// AES-128-ECB with PKCS#7 padding under the configured account key, as one line of standard base64.
// The empty text when the cipher fails (for instance when no valid key is configured).
std::string encryptAES(const std::string& strToEncode);
// The same under an explicit 16-byte key.
std::string encryptAES(const std::string& strToEncode, const std::string& key);

// Where each user-perceived character of the UTF-8 text ends, as byte offsets in increasing order (the last is the
// text's size). Characters are Unicode's extended grapheme clusters, found by ICU; a boundary is never inside a code
// point, and an ill-formed byte sequence counts as one code point.
std::vector<std::size_t> characterBoundaries(const std::string& text);

// Length in user-perceived characters (extended grapheme clusters), the unit of every length rule on typed text.
std::size_t characterCount(const std::string& text);

}  // namespace keyloom
