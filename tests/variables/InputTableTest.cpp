#include "variables/InputTable.h"

#include "settings/Settings.h"
#include "support/ScriptedPrompter.h"

#include "../settings/TempDir.h"

#include <gtest/gtest.h>

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

std::string Label(char prefix, int number) {
    std::string text(1, prefix);
    text += std::to_string(number);
    return text;
}

TEST(InputTableTest, ParametersTextPerKind) {
    struct Case {
        DistKind kind;
        Extended min, max, loc;
        const char* caption;
        char sep;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {DistKind::dkUndefined, 1, 2, 5, "", '.', "before"},
        {DistKind::dkConstant, 0, 0, 1.5L, "", ',', "Value=1,5"},
        {DistKind::dkConstant, 0, 0, 3.14L, "Pi (3.141592...)", '.', "Value=Pi (3.141592...)"},
        {DistKind::dkContinuous, -0.5L, 12345.678L, 9, "", ',',
         "Min=-0,50000000 Max=12345,67800000"},
        {DistKind::dkStepNumber, 1, 2, 5, "", '.', "No parameter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TableFixture f;
        f.settings.DecimalSep = c.sep;
        f.table.setCellText(7, Col::Parameters, "before");
        TIis& iis = f.table.record(7);
        iis.Kind = c.kind;
        iis.Min = c.min;
        iis.Max = c.max;
        iis.Loc = c.loc;
        iis.ConstCaption = c.caption;
        f.table.FillParametersCell(7);
        EXPECT_EQ(f.table.cell(7, Col::Parameters), c.expected);
    }
}

TEST(InputTableTest, FindAndAddRowsUpToAFullTable) {
    TableFixture f;
    EXPECT_TRUE(f.table.AddInputVariable("x"));
    f.table.setCellText(2, Col::Comment, "only a comment");
    EXPECT_TRUE(f.table.AddInputVariable("Yb"));
    const std::vector<std::pair<const char*, int>> cases = {
        {"X", 1}, {"yB", 3}, {"", 2}, {"y", 0}, {"x ", 0}};
    for (const auto& [name, row] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(f.table.FindVarRow(name), row);
    }
    for (int r = 4; r <= TInputTable::RowCount; ++r) {
        ASSERT_EQ(f.table.FirstEmptyRow(), r);
        ASSERT_TRUE(f.table.AddInputVariable(Label('v', r)));
    }
    const int before = f.invalidations;
    EXPECT_EQ(f.table.FirstEmptyRow(), 0);
    EXPECT_FALSE(f.table.AddInputVariable("extra"));
    EXPECT_EQ(f.table.FindVarRow("extra"), 0);
    EXPECT_EQ(f.invalidations, before);
}

TEST(InputTableTest, CompactAndMoveKeepCellsAndRecordsTogether) {
    struct Case {
        std::vector<int> namedRows;
        int nameless;           ///< a row with a type but no name, dropped; 0 for none
        std::vector<int> order; ///< the former rows of rows 1, 2, ... afterwards
        int moveFrom, moveTo;   ///< 0: compact instead
        bool changes;
    };
    const std::vector<Case> cases = {
        {{1, 4}, 0, {1, 4}, 0, 0, true},
        {{1, 2, 3}, 0, {1, 2, 3}, 0, 0, false},
        {{2, 100, 255}, 50, {2, 100, 255}, 0, 0, true},
        {{1, 2}, 3, {1, 2}, 0, 0, true},
        {{1, 2, 3, 4}, 0, {2, 3, 1, 4}, 1, 3, true},
        {{1, 2, 3, 4}, 0, {1, 4, 2, 3}, 4, 2, true},
        {{1, 2}, 0, {1, 2}, 2, 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.namedRows.back() * 1000 + c.moveFrom);
        TableFixture f;
        for (int r : c.namedRows) {
            f.table.setCellText(r, Col::Variable, Label('v', r));
            f.table.setCellText(r, Col::Comment, Label('c', r));
            f.table.record(r).Kind = DistKind::dkDiscrete;
            f.table.record(r).Urn.assign(static_cast<std::size_t>(r), r);
        }
        if (c.nameless != 0) f.table.record(c.nameless).Kind = DistKind::dkNormal;
        if (c.moveFrom != 0)
            f.table.moveRow(c.moveFrom, c.moveTo);
        else
            f.table.compact();
        EXPECT_EQ(f.invalidations, c.changes ? 1 : 0);
        for (std::size_t i = 0; i < c.order.size(); ++i) {
            const int to = static_cast<int>(i) + 1;
            EXPECT_EQ(f.table.cell(to, Col::Variable), Label('v', c.order[i]));
            EXPECT_EQ(f.table.cell(to, Col::Comment), Label('c', c.order[i]));
            EXPECT_EQ(f.table.record(to).Urn.size(), static_cast<std::size_t>(c.order[i]));
        }
        if (c.moveFrom != 0) continue;
        EXPECT_EQ(f.table.FirstEmptyRow(), static_cast<int>(c.order.size()) + 1);
        for (int r = static_cast<int>(c.order.size()) + 1; r <= TInputTable::RowCount; ++r) {
            EXPECT_EQ(f.table.kind(r), DistKind::dkUndefined);
            EXPECT_TRUE(f.table.record(r).Urn.empty());
        }
    }
}

TEST(InputTableTest, CompilerRowStates) {
    TableFixture f;
    f.table.AddInputVariable("q");
    for (Col c : {Col::Type, Col::Parameters, Col::Comment})
        f.table.setCellText(1, c, "text");
    f.table.record(1).Kind = DistKind::dkDiscrete;
    f.table.record(1).Urn = {0, 1, 1, 2};

    f.table.setRowUndefined(1);
    EXPECT_EQ(f.table.cell(1, Col::Variable), "q");
    for (Col c : {Col::Type, Col::Parameters, Col::Comment})
        EXPECT_EQ(f.table.cell(1, c), "");
    EXPECT_EQ(f.table.kind(1), DistKind::dkUndefined);
    EXPECT_TRUE(f.table.record(1).Urn.empty());

    f.table.record(1).Loc = 7;
    f.table.setConstantZero(1);
    EXPECT_EQ(f.table.kind(1), DistKind::dkConstant);
    EXPECT_EQ(f.table.record(1).Loc, 0);
    EXPECT_EQ(f.table.cell(1, Col::Type), "Constant");
    EXPECT_EQ(f.table.cell(1, Col::Parameters), "Value=0");
    EXPECT_TRUE(f.prompter.shown.empty());
}

TEST(InputTableTest, NameColumn) {
    struct Case {
        int row;
        std::string typed;
        std::string cell;
        const char* error; ///< "" for none
    };
    const std::vector<Case> cases = {
        {2, "  x1  ", "x1", ""},
        {2, "", "", ""},
        {2, "1x", "1x", "Incorrect name!"},
        {2, " x 1 ", "x 1", "Incorrect name!"},
        {1, "A", "A", "Duplicate name!"},
        {5, "a", "a", ""}, // the row's own name
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

TEST(InputTableTest, RejectedNameHoldsBackARunUntilMended) {
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

TEST(InputTableTest, TypeColumnWords) {
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
         "Min=0.00000000 Max=1.00000000 Mean=0.50000000 StDev=2.886751346E-01"},
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

std::string DisFile(const char* form, const char* bins) {
    return std::string("[Description]\r\nIdentification=Beam loads\r\nType=Discrete\r\n") + form +
           "\r\n\r\n[Parameters]\r\nMin=1\r\nMax=3\r\n\r\n[Bins]\r\n" + bins;
}

TEST(InputTableTest, SavedDistributionThroughTheFileDialog) {
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
        test::TempDir dir;
        TableFixture f;
        f.settings.DistDirPath = dir.dir();
        f.settings.RewriteIDs = c.rewrite;
        f.table.AddInputVariable("x");
        f.table.commitCell(1, Col::Comment, c.comment);
        f.table.commitCell(1, Col::Type, "Uniform");
        if (c.file != 0) test::WriteBytes(dir.path("beam.dis"), files[c.file]);
        f.prompter.files.push_back(c.file == 0 ? std::nullopt
                                               : std::optional(dir.path("beam.dis")));
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
        EXPECT_EQ(request.initialDirectory, dir.dir());
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

TEST(InputTableTest, InvalidateResultsComesFirstAndOnlyForModelChanges) {
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
        {"edit in comment", [](TInputTable& t) { t.noteTextEdited(Col::Comment); }, 0},
        {"edit in type", [](TInputTable& t) { t.noteTextEdited(Col::Type); }, 1},
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
