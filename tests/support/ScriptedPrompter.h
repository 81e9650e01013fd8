#pragma once

#include "components/Prompter.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace probex::test {

/// A prompter that records every message and answers from a script. A message that finds no
/// scripted answer fails the test unless it needs no decision (a single-button box).
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        Kind kind;
        std::string text;
        Buttons buttons;
    };

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<FileRequest> fileRequests;

    Answer message(Kind kind, const std::string& text, Buttons buttons) override {
        shown.push_back({kind, text, buttons});
        if (!answers.empty()) {
            Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::Cancel:
            return Answer::Cancel;
        default:
            ADD_FAILURE() << "unexpected question: " << text;
            return Answer::Cancel;
        }
    }

    std::optional<std::string> chooseFile(const FileRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file request: " << request.title;
            return std::nullopt;
        }
        auto f = files.front();
        files.pop_front();
        return f;
    }

    /// The texts shown so far, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& s : shown) t.push_back(s.text);
        return t;
    }
};

} // namespace probex::test
