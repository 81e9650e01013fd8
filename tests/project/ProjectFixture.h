#pragma once

#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "settings/TempDir.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace probex::test {

/// Splits "a|b|c" into lines, so that a project text fits a few source lines.
inline std::vector<std::string> Split(const std::string& joined) {
    std::vector<std::string> lines{""};
    for (char c : joined) {
        if (c == '|')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

/// Answers every question with Yes or OK and keeps the texts.
class AgreeingPrompter : public Prompter {
public:
    std::vector<std::string> texts;
    Answer message(Kind, const std::string& text, Buttons buttons) override {
        texts.push_back(text);
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                            : Answer::Ok;
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
};

/// A project model on a temporary directory, ";" and "." as separators, and a prompter
/// that records every message.
class ProjectFixture : public ::testing::Test {
protected:
    ProjectFixture() : settings(MakeSettings(dir)), model(settings, prompter, direct) {}

    static TSettings MakeSettings(const TempDir& dir) {
        TSettings s = MakeDefaultSettings(dir.dir());
        s.ListSep = ';';
        s.DecimalSep = '.';
        s.DistDir = dir.dir() + "dist";
        s.InputDir = dir.dir() + "inputs";
        DeriveDirectories(s);
        return s;
    }

    /// Joins lines with CR LF.
    static std::string Lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        return text;
    }

    /// "[Main]" with an accepted version, then the lines.
    static std::string Project(const std::vector<std::string>& lines) {
        std::vector<std::string> all{"[Main]", "Version=2.5"};
        all.insert(all.end(), lines.begin(), lines.end());
        return Lines(all);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    DirectCall direct;
    TSettings settings;
    ProjectModel model;
};

} // namespace probex::test
