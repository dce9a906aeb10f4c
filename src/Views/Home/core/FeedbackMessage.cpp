#include "Views/Home/core/FeedbackMessage.h"

#include <QString>

#include "Helper/TextHelpers.h"

namespace keyloom {

std::string feedbackMessage(const std::string& type, const std::string& subject, const std::string& feedback,
                            const std::string& softwareInfo) {
    return "#type: " + type + "#subject: " + subject + "#feedback: " + feedback + " #SoftwareInfo: " + softwareInfo;
}

std::vector<std::string> feedbackChunks(const std::string& message, std::size_t chunkLength) {
    if (chunkLength == 0) return {message};
    // Ill-formed UTF-8 goes out as U+FFFD, as it always has.
    const std::string text = QString::fromStdString(message).toStdString();
    const std::vector<std::size_t> ends = characterBoundaries(text);
    std::vector<std::string> chunks;
    std::size_t start = 0;
    for (std::size_t i = chunkLength - 1; i < ends.size(); i += chunkLength) {
        chunks.push_back(text.substr(start, ends[i] - start));
        start = ends[i];
    }
    if (start < text.size() || chunks.empty()) chunks.push_back(text.substr(start));
    return chunks;
}

}  // namespace keyloom
