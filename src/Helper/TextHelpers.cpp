#include "Helper/TextHelpers.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <cstdint>

#include "Helper/AccountSettings.h"
#include "Helper/NetworkStack.h"

namespace keyloom {

bool validateEmail(const std::string& email) {
    // PCRE rather than std::regex: a long pasted text must not exhaust the stack. anchoredPattern matches the whole
    // text (unlike ^...$, which would accept a trailing line break).
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}")));
    return pattern.match(QString::fromStdString(email)).hasMatch();
}

std::string md5(const std::string& text) {
    const NetworkStack* stack = networkStack();
    return stack ? stack->md5(text) : std::string();
}

std::string encryptAES(const std::string& strToEncode) {
    return encryptAES(strToEncode, AccountSettings::aesKey());
}

std::string encryptAES(const std::string& strToEncode, const std::string& key) {
    const NetworkStack* stack = networkStack();
    return stack ? stack->encryptAES(strToEncode, key) : std::string();
}

namespace {

// Appends the ends of the code points of text[from, to), read as ICU reads UTF-8.
void appendCodePointEnds(const std::string& text, std::size_t from, std::size_t to, std::vector<std::size_t>& ends) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + from);
    const auto length = static_cast<int32_t>(to - from);
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        ends.push_back(from + static_cast<std::size_t>(i));
    }
}

}  // namespace

std::vector<std::size_t> characterBoundaries(const std::string& text) {
    std::vector<std::size_t> ends;
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUBreakIteratorPointer breaks(ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status));
    // ICU indexes a text with int32_t: a longer one is read in windows that end at a code point's start.
    constexpr std::size_t window = INT32_MAX;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.size(), start + window);
        for (int back = 0; back < U8_MAX_LENGTH - 1 && end < text.size() && U8_IS_TRAIL(text[end]); ++back) --end;
        icu::LocalUTextPointer utf8(
            utext_openUTF8(nullptr, text.data() + start, static_cast<int64_t>(end - start), &status));
        if (U_SUCCESS(status)) ubrk_setUText(breaks.getAlias(), utf8.getAlias(), &status);
        if (U_FAILURE(status)) {
            // Without ICU's break data: code points, so at least none is ever split.
            appendCodePointEnds(text, start, end, ends);
        } else {
            ubrk_first(breaks.getAlias());
            for (int32_t at = ubrk_next(breaks.getAlias()); at != UBRK_DONE; at = ubrk_next(breaks.getAlias()))
                ends.push_back(start + static_cast<std::size_t>(at));
        }
        start = end;
    }
    return ends;
}

std::size_t characterCount(const std::string& text) {
    return characterBoundaries(text).size();
}

}  // namespace keyloom
