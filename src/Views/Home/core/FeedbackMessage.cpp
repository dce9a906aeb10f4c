#include "Views/Home/core/FeedbackMessage.h"

#include <QString>
#include <QTextBoundaryFinder>

namespace keyloom {

std::string feedbackMessage(const std::string& type, const std::string& subject, const std::string& feedback,
                            const std::string& softwareInfo) {
    return "#type: " + type + "#subject: " + subject + "#feedback: " + feedback + " #SoftwareInfo: " + softwareInfo;
}

std::vector<std::string> feedbackChunks(const std::string& message, std::size_t chunkLength) {
    if (chunkLength == 0) return {message};
    const QString text = QString::fromStdString(message);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    std::vector<std::string> chunks;
    qsizetype start = 0;
    std::size_t characters = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        if (++characters < chunkLength) continue;
        chunks.push_back(text.mid(start, end - start).toStdString());
        start = end;
        characters = 0;
    }
    if (start < text.size() || chunks.empty()) chunks.push_back(text.mid(start).toStdString());
    return chunks;
}

}  // namespace keyloom
