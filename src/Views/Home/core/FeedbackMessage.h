#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace keyloom {

// The longest piece of a feedback message that goes out in one request, in user-perceived characters.
inline constexpr std::size_t feedbackChunkLength = 245;

// "#type: <type>#subject: <subject>#feedback: <feedback> #SoftwareInfo: <softwareInfo>".
std::string feedbackMessage(const std::string& type, const std::string& subject, const std::string& feedback,
                            const std::string& softwareInfo);

// The pieces a message is sent in: the whole message when it has `chunkLength` characters or fewer; otherwise pieces
// of exactly `chunkLength` characters from the front, the last one holding the remaining 1 to `chunkLength`. Counted
// and cut in user-perceived characters (extended grapheme clusters), so no character is ever split.
std::vector<std::string> feedbackChunks(const std::string& message, std::size_t chunkLength = feedbackChunkLength);

}  // namespace keyloom
