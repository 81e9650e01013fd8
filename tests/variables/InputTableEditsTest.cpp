#include "variables/InputTable.h"

#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace probex {
namespace {

using Col = InputColumn;
using Answer = Prompter::Answer;

struct TableFixture {
    TSettings settings;
    test::ScriptedPrompter prompter;
    int invalidations = 0;
    TInputTable table{settings, prompter, [this] { ++invalidations; }};
};

TEST(InputTableEditsTest, NameColumn) {
    struct Case {
        int row;
        std::string typed;
        std::string cell;
        const char* error; ///< "" for none
    };
    const std::vector<Case> cases = {
        {2, "  x1  ", "x1", ""},
        {2, "", "", ""},
        {2, "   ", "", ""},
        {2, "1x", "1x", "Incorrect name!"},
        {2, "x_1", "x_1", "Incorrect name!"},
        {2, " x 1 ", "x 1", "Incorrect name!"},
        {2, "w\xE4rme", "w\xE4rme", "Incorrect name!"},
        {1, "A", "A", "Duplicate name!"},
        {5, "a", "a", ""}, // the row's own name
        {2, "a", "a", "Duplicate name!"},
        {2, std::string(5000, 'z'), std::string(5000, 'z'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 20));
        TableFixture f;
        f.table.setCellText(5, Col::Variable, "a");
        f.table.setCellText(5, Col::Type, "Normal");
        f.table.record(5).Kind = DistKind::dkNormal;
        f.table.record(2).Kind = DistKind::dkUniform; // a name row without a type is undefined
        f.table.commitCell(c.row, Col::Variable, c.typed);
        EXPECT_EQ(f.table.cell(c.row, Col::Variable), c.cell);
        EXPECT_EQ(f.invalidations, 1);
        const bool rejected = *c.error != '\0';
        EXPECT_EQ(f.table.EditAccepted(), !rejected);
        ASSERT_EQ(f.prompter.shown.size(), rejected ? 1u : 0u);
        if (rejected) {
            EXPECT_EQ(f.prompter.shown[0].text, c.error);
            EXPECT_EQ(f.prompter.shown[0].kind, Prompter::Kind::Error);
            EXPECT_EQ(f.prompter.shown[0].buttons, Prompter::Buttons::Cancel);
        }
        if (c.row == 2 && !rejected && !c.cell.empty()) {
            EXPECT_EQ(f.table.kind(2), DistKind::dkUndefined);
        }
        EXPECT_EQ(f.table.kind(5), DistKind::dkNormal);
    }
}

TEST(InputTableEditsTest, RejectedNameHoldsBackARunUntilMended) {
    struct Case {
        const char* name;
        void (*mend)(TInputTable&);
    };
    const std::vector<Case> cases = {
        {"1x", [](TInputTable& t) { t.commitCell(2, Col::Variable, "x"); }},
        {"a", [](TInputTable& t) { t.commitCell(1, Col::Variable, "b"); }},
        {"a", [](TInputTable& t) { t.ClearRow(1); }},
        {"a", [](TInputTable& t) { t.ClearRow(2); }},
        {"1x", [](TInputTable& t) { t.commitCell(2, Col::Variable, ""); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TableFixture f;
        f.table.AddInputVariable("A");
        f.table.commitCell(2, Col::Variable, c.name);
        EXPECT_FALSE(f.table.EditAccepted());
        // Editing another cell must not let the run go with the rejected name standing.
        f.table.commitCell(2, Col::Comment, "note");
        f.table.commitCell(1, Col::Type, "Uniform");
        EXPECT_FALSE(f.table.EditAccepted());
        c.mend(f.table);
        EXPECT_TRUE(f.table.EditAccepted());
    }
}

TEST(InputTableEditsTest, TypeColumnWords) {
    struct Case {
        const char* typed;
        DistKind kind;
        const char* type;
        const char* parameters;
    };
    const std::vector<Case> cases = {
        {"lognormal", DistKind::dkLognormal, "Lognormal",
         "Min=0.00000000 Max=1000.00000000 Mean=1.00000000 StDev=1.00000000"},
        {"Uniform", DistKind::dkUniform, "Uniform",
         "Min=0.00000000 Max=1.00000000 Mean=0.50000000 StDev=0.28867513"},
        {"EXPONENTIAL", DistKind::dkExponential, "Exponential",
         "Min=0.00000000 Max=20.00000000 Mean=1.00000000 StDev=1.00000000"},
        {" normal ", DistKind::dkNormal, "Normal",
         "Min=-3.00000000 Max=3.00000000 Mean=0.00000000 StDev=1.00000000"},
        {"Constant", DistKind::dkConstant, "Constant", "Value=0"},
        {"step NUMBER", DistKind::dkStepNumber, "Step number", "No parameter"},
        {"", DistKind::dkUndefined, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TableFixture f;
        f.table.AddInputVariable("x");
        f.table.setCellText(1, Col::Parameters, "Min=1.00000000 Max=3.00000000");
        f.table.record(1).Kind = DistKind::dkDiscrete;
        f.table.record(1).Urn = {0, 1};
        f.table.record(1).UrnSize = 2;
        f.table.record(1).ConstCaption = "Pi (3.141592...)";
        const int before = f.invalidations;
        f.table.commitCell(1, Col::Type, c.typed);
        EXPECT_EQ(f.table.kind(1), c.kind);
        EXPECT_EQ(f.table.cell(1, Col::Type), c.type);
        EXPECT_EQ(f.table.cell(1, Col::Parameters), c.parameters);
        EXPECT_TRUE(f.table.record(1).Urn.empty());
        EXPECT_EQ(f.invalidations - before, 1);
        EXPECT_TRUE(f.table.EditAccepted());
        EXPECT_TRUE(f.prompter.shown.empty());
    }
}

class TempDir {
public:
    TempDir() {
        std::string pattern = std::filesystem::temp_directory_path() / "probex-inputs-XXXXXX";
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string write(const std::string& name, const std::string& text) const {
        const std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

std::string DisFile(const char* form, const char* bins) {
    return std::string("[Description]\r\nIdentification=Beam loads\r\nType=Discrete\r\n") + form +
           "\r\n\r\n[Parameters]\r\nMin=1\r\nMax=3\r\n\r\n[Bins]\r\n" + bins;
}

TEST(InputTableEditsTest, SavedDistributionThroughTheFileDialog) {
    const std::string files[] = {"", DisFile("Form=Frequency", "1\r\n2\r\n1\r\n"),
                                 DisFile("Form=Frequency", "0\r\n0\r\n"),
                                 DisFile("", "1\r\n2\r\n")};
    struct Case {
        int file; ///< into files; 0: the dialog is cancelled
        const char* comment;
        bool rewrite;
        std::optional<Answer> answer; ///< to the rewrite question, when it is asked
        const char* error;
        const char* commentAfter;
    };
    const std::vector<Case> cases = {
        {1, "", false, {}, "", "Beam loads"},
        {1, "mine", true, {}, "", "Beam loads"},
        {1, "mine", false, Answer::Ok, "", "Beam loads"},
        {1, "mine", false, Answer::Cancel, "", "mine"},
        {0, "mine", false, {}, "", "mine"},
        {2, "", false, {}, "Wrong Cor values", ""},
        {3, "", false, {}, "Distribution not defined!", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.file) + c.comment);
        TempDir dir;
        TableFixture f;
        f.settings.DistDirPath = dir.path();
        f.settings.RewriteIDs = c.rewrite;
        f.table.AddInputVariable("x");
        f.table.commitCell(1, Col::Comment, c.comment);
        f.table.commitCell(1, Col::Type, "Uniform");
        f.prompter.files.push_back(
            c.file == 0 ? std::nullopt : std::optional(dir.write("beam.dis", files[c.file])));
        if (c.answer) f.prompter.answers.push_back(*c.answer);
        const int before = f.invalidations;

        f.table.commitCell(1, Col::Type, "Saved Distribution");
        EXPECT_EQ(f.invalidations - before, 1);
        EXPECT_TRUE(f.table.EditAccepted());
        ASSERT_EQ(f.prompter.fileRequests.size(), 1u);
        const Prompter::FileRequest& request = f.prompter.fileRequests[0];
        EXPECT_EQ(request.save, false);
        EXPECT_EQ(request.filter + request.defaultExtension + request.fileName,
                  "Histogram files (*.dis)|*.disdis*.dis");
        EXPECT_EQ(request.initialDirectory, dir.path());
        std::vector<std::string> messages;
        if (c.answer) messages.push_back("Rewrite comment field for variable x ?");
        if (*c.error) messages.push_back(c.error);
        EXPECT_EQ(f.prompter.texts(), messages);
        EXPECT_EQ(f.table.cell(1, Col::Comment), c.commentAfter);
        EXPECT_EQ(f.table.record(1).Comment, c.commentAfter);
        const bool loaded = c.file == 1;
        EXPECT_EQ(f.table.kind(1), loaded ? DistKind::dkDiscrete : DistKind::dkUndefined);
        EXPECT_EQ(f.table.cell(1, Col::Type), loaded ? "beam.dis" : "Saved Distribution");
        EXPECT_EQ(f.table.cell(1, Col::Parameters), loaded ? "Min=1.00000000 Max=3.00000000" : "");
        const std::vector<std::int32_t> urn =
            loaded ? std::vector<std::int32_t>{0, 1, 1, 2} : std::vector<std::int32_t>{};
        EXPECT_EQ(f.table.record(1).Urn, urn);
    }
}

TEST(InputTableEditsTest, InvalidateResultsComesFirstAndOnlyForModelChanges) {
    struct Case {
        const char* label;
        void (*act)(TInputTable&);
        int calls;
    };
    const std::vector<Case> cases = {
        {"name", [](TInputTable& t) { t.commitCell(1, Col::Variable, "y"); }, 1},
        {"type", [](TInputTable& t) { t.commitCell(1, Col::Type, "Normal"); }, 1},
        {"comment", [](TInputTable& t) { t.commitCell(1, Col::Comment, "c"); }, 0},
        {"parameters", [](TInputTable& t) { t.commitCell(1, Col::Parameters, "p"); }, 0},
        {"key in comment", [](TInputTable& t) { t.noteKeyPress(Col::Comment); }, 0},
        {"key in type", [](TInputTable& t) { t.noteKeyPress(Col::Type); }, 1},
        {"clear row", [](TInputTable& t) { t.ClearRow(1); }, 1},
        {"delete all", [](TInputTable& t) { t.clearAllRows(); }, 1},
        {"compact table", [](TInputTable& t) { t.compact(); }, 0},
        {"comment cell", [](TInputTable& t) { t.SetCommentCell(1, "id"); }, 0},
        {"fill parameters", [](TInputTable& t) { t.FillParametersCell(1); }, 0},
        {"constant zero", [](TInputTable& t) { t.setConstantZero(1); }, 1},
        {"output name", [](TInputTable& t) { t.setRowUndefined(1); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TSettings settings;
        test::ScriptedPrompter prompter;
        TInputTable* table = nullptr;
        int calls = 0;
        TInputTable t(settings, prompter, [&] {
            ++calls;
            // Results are discarded before the row changes, and never mid-way through an
            // edit that could still be accepted.
            EXPECT_EQ(table->kind(1), DistKind::dkUniform);
            EXPECT_EQ(table->cell(1, Col::Variable), "x");
        });
        t.setCellText(1, Col::Variable, "x");
        t.setCellText(1, Col::Type, "Uniform");
        t.record(1).Kind = DistKind::dkUniform;
        table = &t;
        c.act(t);
        EXPECT_EQ(calls, c.calls);
    }
}

} // namespace
} // namespace probex
