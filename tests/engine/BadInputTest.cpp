// Arbitrary bytes must compile to an error code or to an expression that evaluates safely.

#include "engine/ExpressionTestSupport.h"
#include "engine/ReferenceEvaluator.h"

#include <gtest/gtest.h>

#include <random>

namespace probex::test {
namespace {

void CompileAndEvaluate(std::string_view text, const tSeparators& separators, CompiledText& work,
                        bool keepVars, long& compiled) {
    SCOPED_TRACE("length " + std::to_string(text.size()));
    if (!keepVars) work.vars.clear();
    CompileExpression(text, work.compiled, work.vars, work.error, separators);
    const int length = static_cast<int>(text.size());
    if (work.error.Code != 0) {
        EXPECT_LE(work.error.Code, 30);
        EXPECT_GE(work.error.Pos, 0);
        EXPECT_LE(work.error.Pos, length + 1);
        return;
    }
    ++compiled;
    EXPECT_LE(work.vars.Count, MaxVariables);
    for (int i = 1; i <= work.vars.Count; ++i)
        work.vars.Values[i] = i % 3 - 1.5L;
    const tEvalResult got = EvaluateExpression(work.compiled, work.vars);
    const tEvalResult want = ReferenceEvaluate(work.compiled, work.vars);
    EXPECT_EQ(got.Code, want.Code);
}

TEST(BadInput, RandomBytes) {
    std::mt19937_64 rng(31337);
    auto work = std::make_unique<CompiledText>();
    static const tSeparators separatorSets[] = {
        {'.', ','}, {',', ';'}, {'.', ' '}, {'.', '\0'}, {'.', '-'}, {',', 'x'}, {'\xff', '\x80'},
    };
    // Mostly bytes of the language, so that texts get past the first character.
    static const char alphabet[] = "0123456789.,;eE+-*/^()   aSINCOTLGDVMRFZxy";
    long compiled = 0;
    for (int i = 0; i < 6000; ++i) {
        const tSeparators& separators = separatorSets[i % std::size(separatorSets)];
        const std::size_t length = rng() % 5001;
        const bool anyByte = i % 2 == 0;
        std::string text(length, '\0');
        for (char& c : text) {
            if (anyByte || rng() % 50 == 0)
                c = static_cast<char>(rng() % 256);
            else
                c = alphabet[rng() % (sizeof alphabet - 1)];
        }
        if (i % 3 == 0) text.resize(text.size() % 64); // plenty of short texts too
        CompileAndEvaluate(text, separators, *work, i % 5 == 0, compiled);
    }
    EXPECT_GT(compiled, 0);
}

TEST(BadInput, MegabyteTexts) {
    constexpr std::size_t mega = 1 << 20;
    std::string digitsWithPoint(mega, '7');
    digitsWithPoint[mega / 2] = '.';
    std::string exponentRun = "1e-" + std::string(mega, '9');
    const std::string texts[] = {
        std::string(mega, ' '),   std::string(mega, 'a'),  std::string(mega, '1'),
        std::string(mega, '0'),   digitsWithPoint,         exponentRun,
        std::string(mega, '('),   std::string(mega, '\0'), Repeat("1+", mega / 2),
        Repeat("SIN ", mega / 4), Repeat("x,", mega / 2),  Repeat(" ", mega - 1) + "x",
    };
    auto work = std::make_unique<CompiledText>();
    long compiled = 0;
    for (const std::string& text : texts)
        CompileAndEvaluate(text, {}, *work, false, compiled);
    EXPECT_GT(compiled, 0);
}

} // namespace
} // namespace probex::test
