#pragma once

#include "components/Prompter.h"
#include "gui/engine/EquErrPopup.h"

#include <QTest>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace probex::test {

/// The widget tests' prompter: records every message, file request and error popup, answers
/// from a script, and fails the running test when a question finds no scripted answer (a box
/// with only an OK or a Cancel button needs none).
class UiScriptedPrompter : public Prompter, public EquErrPopup {
public:
    struct Shown {
        Kind kind;
        std::string text;
        Buttons buttons;
    };
    struct Popup {
        std::string caption;
        std::string message;
    };

    std::vector<Shown> shown;
    std::vector<Popup> popups;
    std::vector<FileRequest> fileRequests;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    /// Set when something unscripted was asked; the test's failure has been recorded too.
    bool unexpected = false;

    Answer message(Kind kind, const std::string& text, Buttons buttons) override {
        shown.push_back({kind, text, buttons});
        if (!answers.empty()) {
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (buttons == Buttons::Cancel) return Answer::Cancel;
        fail("unexpected question: " + text);
        return Answer::Cancel;
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) {
            fail("unexpected file request: " + request.title);
            return std::nullopt;
        }
        std::optional<std::string> file = files.front();
        files.pop_front();
        return file;
    }

    void showPopup(const std::string& caption, const std::string& message) override {
        popups.push_back({caption, message});
    }

    /// The texts of the messages so far, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Shown& s : shown)
            result.push_back(s.text);
        return result;
    }

    bool lastMessageIs(const std::string& text) const {
        return !shown.empty() && shown.back().text == text;
    }

    /// Removes the first message, which the test expected; one of another kind is marked.
    std::string take(Kind kind) {
        if (shown.empty()) return "<no message>";
        const Shown first = shown.front();
        shown.erase(shown.begin());
        return first.kind == kind ? first.text : "<other kind> " + first.text;
    }

private:
    void fail(const std::string& what) {
        unexpected = true;
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
    }
};

} // namespace probex::test
