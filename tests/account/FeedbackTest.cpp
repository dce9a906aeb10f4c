#include <QComboBox>
#include <QPlainTextEdit>
#include <algorithm>

#include "AccountTestSupport.h"
#include "Helper/HttpRequest.h"
#include "Helper/LoginEmail.h"
#include "Views/Home/AppState.h"
#include "Views/Home/FeedbackViewController.h"
#include "Views/Home/FeedbackWindowController.h"
#include "platform/NotificationCenter.h"

namespace keyloom {
namespace {

using namespace test;

// The feedback window, its answers held at the server until the test releases them.
class Feedback : public AccountEnvironment {
  protected:
    Feedback() {
        keyboardVersion() = "Quorvath";
        server.holdAnswers(true);
        window.show();
    }
    ~Feedback() override { keyboardVersion().clear(); }

    void enter(const std::string& subject, const std::string& content) {
        form->findChild<QComboBox*>("feedbackTypeCombox")->setCurrentIndex(1);
        fill(form, "subjectText", subject);
        form->findChild<QPlainTextEdit*>("contentText")->setPlainText(QString::fromStdString(content));
    }
    std::string content() const { return form->findChild<QPlainTextEdit*>("contentText")->toPlainText().toStdString(); }
    bool submitEnabled() const { return form->findChild<QPushButton*>("submitButton")->isEnabled(); }
    // Releases the next held piece with the given answer and waits until the form has counted it.
    void answerNext(const std::string& body) {
        server.setAnswer("/software/feedback", {200, body});
        ASSERT_TRUE(server.waitForRequests(released + 1));
        untilAnswered([&] { server.release(released++); });
    }
    std::string alertShown() {
        const std::string shown = alertOf(form->alertSheet());
        if (form->alertSheet()) form->alertSheet()->close();
        return shown;
    }

    FeedbackWindowController window;
    FeedbackViewController* form = window.contentViewController();
    size_t released = 0;
};

TEST_F(Feedback, EmptyFieldsAreRefusedInOrder) {
    const struct {
        std::string subject, content, alert;
    } cases[] = {
        {"", "", "FEEDBACK/Subject cannot be empty, please enter."},
        {"", "text", "FEEDBACK/Subject cannot be empty, please enter."},
        {"subject", "", "FEEDBACK/Feedback cannot be empty, please enter"},
    };
    for (const auto& c : cases) {
        enter(c.subject, c.content);
        click(form, "submitButton");
        EXPECT_EQ(alertShown(), c.alert);
    }
    EXPECT_TRUE(server.requests().empty());
}

// Whole-message lengths around the 245-character piece, in characters of several code points; the pieces are cut
// between characters, every piece but the last holds 245 of them, and together they are the message.
TEST_F(Feedback, LongMessagesGoOutIn245CharacterPieces) {
    setLoginEmail("me@example.org");
    const std::string thumb = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";  // thumbs up with a skin tone: 2 code points
    const std::string accent = "e\xCC\x81";                        // e with a combining acute: 2 code points
    const std::string head = "#type: Problem#subject: S#feedback: ", tail = " #SoftwareInfo: version:1.2.7#Quorvath#";
    for (size_t length : {245u, 246u, 490u, 491u}) {
        SCOPED_TRACE(length);
        // The message as a list of characters, each head and tail byte being one.
        std::vector<std::string> characters;
        for (char c : head) characters.emplace_back(1, c);
        std::string typed;
        while (characters.size() + tail.size() < length) {
            characters.push_back(characters.size() % 2 ? thumb : accent);
            typed += characters.back();
        }
        for (char c : tail) characters.emplace_back(1, c);
        std::vector<std::string> expected;
        for (size_t i = 0; i < characters.size(); ++i) {
            if (i % 245 == 0) expected.emplace_back();
            expected.back() += characters[i];
        }

        const size_t before = server.requests().size();
        enter("S", typed);
        click(form, "submitButton");
        EXPECT_EQ(form->sendDataCount, length <= 245 ? 0 : int64_t(expected.size()));
        ASSERT_TRUE(server.waitForRequests(before + expected.size()));
        std::vector<std::string> sent;
        const std::vector<RecordedRequest> requests = server.requests();
        for (size_t i = before; i < requests.size(); ++i) {
            const RecordedRequest& r = requests[i];
            EXPECT_EQ(r.path, "/software/feedback");
            EXPECT_EQ(decryptWithTestKey(r.header("token").value_or("")), "me@example.org");
            sent.push_back(r.body);
        }
        // The pieces start together, so they may arrive in any order.
        std::sort(sent.begin(), sent.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sent, expected);
        for (size_t i = 0; i < expected.size(); ++i) answerNext("true");
        EXPECT_EQ(alertShown(), "FEEDBACK/Thank you for your feedback. We will contact soon.");
    }
}

// An emoji after a Telugu letter ends the first piece: it goes out whole (it once arrived as "??", cut in half).
TEST_F(Feedback, APieceNeverEndsInsideACharacter) {
    const std::string head = "#type: Problem#subject: S#feedback: ", tail = " #SoftwareInfo: version:1.2.7#Quorvath#";
    const std::string teluguAndEmoji = "\xE0\xB0\xB0\xF0\x9F\x98\x80";  // characters 244 and 245 of the message
    const std::string front = head + std::string(243 - head.size(), 'a') + teluguAndEmoji;
    enter("S", front.substr(head.size()) + "b");
    click(form, "submitButton");
    ASSERT_EQ(form->sendDataCount, 2);
    ASSERT_TRUE(server.waitForRequests(2));
    std::vector<std::string> sent = {server.requests().at(0).body, server.requests().at(1).body};
    std::sort(sent.begin(), sent.end());  // they may arrive in any order
    EXPECT_EQ(sent, (std::vector<std::string>{front, "b" + tail}));
    for (int i = 0; i < 2; ++i) answerNext("true");
    EXPECT_EQ(alertShown(), "FEEDBACK/Thank you for your feedback. We will contact soon.");
}

// One verdict per submission: any failed piece gives the error alert and keeps the fields, whatever the order of the
// answers; the button comes back only with the last answer; a verdict never carries over to the next submission.
TEST_F(Feedback, EveryPieceMustSucceedAndEachSubmissionIsJudgedOnItsOwn) {
    const std::string longText(300, 'x');
    const std::pair<std::string, std::string> orders[] = {{"false", "true"}, {"true", "false"}};
    for (const auto& [first, last] : orders) {
        SCOPED_TRACE(first + "," + last);
        enter("Subject", longText);
        click(form, "submitButton");
        ASSERT_EQ(form->sendDataCount, 2);
        answerNext(first);
        EXPECT_FALSE(submitEnabled());
        EXPECT_EQ(alertShown(), "");
        answerNext(last);
        EXPECT_EQ(alertShown(), "FEEDBACK/Error. Your feedback is not sent. Please check your internet connection.");
        EXPECT_EQ(form->httpStatus, 2);
        EXPECT_EQ(content(), longText);
        EXPECT_TRUE(submitEnabled());
    }
    // No server to reach: the same error.
    setenv("KEYLOOM_SERVER_URL", "", 1);
    enter("Subject", "short");
    untilAnswered([&] { click(form, "submitButton"); });
    EXPECT_EQ(alertShown(), "FEEDBACK/Error. Your feedback is not sent. Please check your internet connection.");
    setenv("KEYLOOM_SERVER_URL", server.baseAddress().c_str(), 1);

    // A short message whose answer holds neither word: no verdict, so no alert (not the last one's error).
    click(form, "submitButton");
    answerNext("ok");
    EXPECT_EQ(form->httpStatus, 0);
    EXPECT_EQ(alertShown(), "");
    EXPECT_TRUE(submitEnabled());

    // An answer that no submission waits for counts for nothing.
    untilAnswered(
        [] { NotificationCenter::defaultCenter().post(feedbackHTTPRequestNotification, std::string("false")); });
    EXPECT_EQ(form->recDataCount, 1);
    EXPECT_EQ(alertShown(), "");

    // Success clears the form while its sheet is still open.
    click(form, "submitButton");
    answerNext("true");
    ASSERT_TRUE(form->alertSheet() && form->alertSheet()->isVisible());
    EXPECT_EQ(form->findChild<QComboBox*>("feedbackTypeCombox")->currentIndex(), 0);
    EXPECT_EQ(text(form, "subjectText"), "");
    EXPECT_EQ(content(), "");
}

}  // namespace
}  // namespace keyloom
