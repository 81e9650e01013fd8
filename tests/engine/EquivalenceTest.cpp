// The compiled schedule against the literal two-stack evaluation: for every generated text
// that compiles, the same code and, on success, the same bits.

#include "engine/ExpressionTestSupport.h"
#include "engine/RandomExpressions.h"
#include "engine/ReferenceEvaluator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <map>

namespace probex::test {
namespace {

std::string Hex(Extended v) {
    unsigned char bytes[10];
    std::memcpy(bytes, &v, 10);
    char text[24];
    std::snprintf(text, sizeof text, "%02x%02x:%02x%02x%02x%02x%02x%02x%02x%02x", bytes[9],
                  bytes[8], bytes[7], bytes[6], bytes[5], bytes[4], bytes[3], bytes[2], bytes[1],
                  bytes[0]);
    return text;
}

struct Tally {
    long texts = 0;
    long compiled = 0;
    long evaluations = 0;
    long valued = 0; ///< evaluations with code 0
    std::map<int, long> evalCodes;
    int mismatches = 0;

    void print(const char* name) const {
        std::printf("[ stats    ] %s: %ld texts, %.1f%% compiled; %ld evaluations, %.1f%% without "
                    "error; codes:",
                    name, texts, 100.0 * compiled / (texts ? texts : 1), evaluations,
                    100.0 * valued / (evaluations ? evaluations : 1));
        for (const auto& [code, count] : evalCodes)
            std::printf(" %d:%ld", code, count);
        std::printf("\n");
    }
};

/// Compiles the text, checks the token list's shape, and compares both evaluations for
/// several sets of variable values.
void CheckText(const std::string& text, const tSeparators& separators, RandomExpressions& gen,
               CompiledText& work, ReferenceEvaluator& reference, Tally& tally) {
    ++tally.texts;
    work.vars.clear();
    CompileExpression(text, work.compiled, work.vars, work.error, separators);
    if (work.error.Code != 0) return;
    ++tally.compiled;

    const tCompiledEquation& c = work.compiled;
    int operands = 0;
    for (int t = 1; t <= c.TokenCount; ++t)
        operands += c.Tokens[t].Kind == tkOperand;
    const bool shapeOk = c.TokenCount >= 2 && c.TokenCount <= MaxTokens &&
                         c.Tokens[c.TokenCount].Kind == tkEnd && operands == c.OperandCount &&
                         c.OperandCount <= MaxOperands && work.error.Pos == 0;
    if (!shapeOk && ++tally.mismatches <= 20)
        ADD_FAILURE() << "bad token list for \"" << text << "\"";

    for (int round = 0; round < 4; ++round) {
        for (int i = 1; i <= work.vars.Count; ++i)
            work.vars.Values[i] = gen.value();
        const tEvalResult got = EvaluateExpression(c, work.vars);
        const tEvalResult want = reference.run(c, work.vars);
        ++tally.evaluations;
        ++tally.evalCodes[want.Code];
        if (want.Code == 0) ++tally.valued;
        if (got.Code == want.Code && (got.Code != 0 || SameBits(got.Value, want.Value))) continue;
        if (++tally.mismatches > 20) continue;
        std::string values;
        for (int i = 1; i <= work.vars.Count; ++i)
            values += " " + work.vars.Names[i] + "=" + Hex(work.vars.Values[i]) + "(" +
                      std::to_string(static_cast<double>(work.vars.Values[i])) + ")";
        ADD_FAILURE() << "text \"" << text << "\" decimal '" << separators.Decimal << "' list '"
                      << separators.List << "'" << values << "\n  schedule: code " << int(got.Code)
                      << " value " << Hex(got.Value) << "\n  reference: code " << int(want.Code)
                      << " value " << Hex(want.Value);
    }
}

using Generator = std::function<std::string(RandomExpressions&)>;

Tally RunGenerated(std::uint64_t seed, int count, const Generator& generate) {
    auto work = std::make_unique<CompiledText>();
    auto reference = std::make_unique<ReferenceEvaluator>();
    Tally tally;
    static const tSeparators separatorSets[] = {{'.', ','}, {',', ';'}};
    for (const tSeparators& separators : separatorSets) {
        RandomExpressions gen(seed, separators);
        const int n = separators.Decimal == '.' ? count - count / 4 : count / 4;
        for (int i = 0; i < n; ++i)
            CheckText(generate(gen), separators, gen, *work, *reference, tally);
        seed += 7919;
    }
    return tally;
}

TEST(Equivalence, LooseTokenTexts) {
    const Tally tally =
        RunGenerated(20240611, 60000, [](RandomExpressions& g) { return g.looseText(); });
    tally.print("loose texts");
    EXPECT_EQ(tally.mismatches, 0);
    // the generator must keep reaching every outcome, or the comparison proves little
    EXPECT_GT(tally.compiled, tally.texts / 5);
    for (int code : {0, 1, 5, 15, 16, 17})
        EXPECT_GT(tally.evalCodes.count(code), 0u) << code;
}

TEST(Equivalence, CharacterSoup) {
    const Tally tally =
        RunGenerated(77, 40000, [](RandomExpressions& g) { return g.characterSoup(); });
    tally.print("character soup");
    EXPECT_EQ(tally.mismatches, 0);
    EXPECT_GT(tally.compiled, 1000);
}

TEST(Equivalence, GrammaticalExpressions) {
    struct Mode {
        const char* name;
        RandomExpressions::Shape shape;
        int count;
        int minCompiledPct, minValuedPct; ///< keep the generators honest
    };
    static const Mode modes[] = {
        {"balanced", {4, 4, 30, 20}, 30000, 95, 20},
        {"long chains", {1, 200, 5, 10, 900}, 4000, 80, 1},
        {"long tame chains", {1, 200, 5, 10, 500, true}, 4000, 80, 80},
        {"deep brackets", {60, 2, 90, 30, 700}, 8000, 95, 5},
        {"many functions", {3, 3, 30, 75}, 8000, 95, 20},
    };
    std::uint64_t seed = 5;
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.name);
        const Tally tally = RunGenerated(
            seed++, mode.count, [&](RandomExpressions& g) { return g.grammatical(mode.shape); });
        tally.print(mode.name);
        EXPECT_EQ(tally.mismatches, 0);
        EXPECT_GE(tally.compiled * 100, tally.texts * mode.minCompiledPct);
        EXPECT_GE(tally.valued * 100, tally.evaluations * mode.minValuedPct);
    }
}

} // namespace
} // namespace probex::test
