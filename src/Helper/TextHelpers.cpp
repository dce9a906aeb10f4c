#include "Helper/TextHelpers.h"

#include <QRegularExpression>
#include <QString>
#include <QTextBoundaryFinder>
#include <climits>
#include <cstdio>
#include <memory>
#include <vector>

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

std::size_t characterCount(const std::string& text) {
    const QString string = QString::fromStdString(text);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, string);
    std::size_t count = 0;
    while (finder.toNextBoundary() != -1) ++count;
    return count;
}

}  // namespace keyloom
