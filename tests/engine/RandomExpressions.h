#pragma once

// Deterministic generators of expression texts and variable values for the consistency
// tests: loose texts that are often wrong, and grammatical ones that mostly compile.

#include "engine/Expression.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace probex::test {

class RandomExpressions {
public:
    explicit RandomExpressions(std::uint64_t seed, tSeparators separators = {})
        : m_rng(seed), m_sep(separators) {}

    /// Tame texts and values: small numbers and operators that rarely fail, so that long
    /// texts still evaluate to a value.
    void setTame(bool tame) { m_tame = tame; }

    int below(int n) { return static_cast<int>(m_rng() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    std::mt19937_64& engine() { return m_rng; }

    /// A word in random letter case.
    std::string mixedCase(std::string_view word) {
        std::string text(word);
        for (char& c : text)
            if (c >= 'A' && c <= 'Z' && chance(50)) c = static_cast<char>(c - 'A' + 'a');
        return text;
    }

    std::string functionWord() {
        static const char* const words[] = {"SIN",  "COS",  "TAN", "COT", "ASIN", "ACOS",
                                            "ATAN", "ACOT", "LN",  "LOG", "ABS",  "INT",
                                            "FRAC", "SGN",  "POS", "NEG", "ZERO"};
        static const int tameWords[] = {0, 1, 6, 10}; // SIN COS ATAN ABS
        return mixedCase(words[m_tame ? tameWords[below(4)] : below(17)]);
    }

    std::string binaryOperator() {
        static const char* const ops[] = {"+", "-", "*", "/", "^", "DIV", "MOD"};
        std::string op = mixedCase(ops[m_tame ? below(4) : below(7)]);
        return op.size() == 3 ? " " + op + " " : op;
    }

    std::string variable() {
        static const char* const names[] = {"a",  "b",  "x",  "y", "Width", "WIDTH", "x1",
                                            "2x", "E5", "pi", "e", "z9",    "B"};
        return names[below(13)];
    }

    /// Numbers that hit the interesting places: exact halves, the 32-bit bounds, the range
    /// limit and beyond, tiny values.
    std::string number() {
        static const char* const fixed[] = {
            "0",    "1",     "2",          "3",      "0#5",    "2#5",    "7#5",
            "1E60", "1E99",  "1E100",      "1E200",  "1#5E-3", "1e-300", "1e-4000",
            "10",   "0#001", "2147483648", "1E4000", "0#9999", "1#0001", "4"};
        std::string text;
        if (m_tame)
            return std::to_string(1 + below(9)) +
                   (chance(50) ? m_sep.Decimal + std::string("5") : "");
        switch (below(4)) {
        case 0:
            text = fixed[below(static_cast<int>(std::size(fixed)))];
            break;
        case 1:
            text = std::to_string(below(1000));
            break;
        case 2:
            text = std::to_string(below(100)) + "#" + std::to_string(below(1000));
            break;
        default:
            text = std::to_string(1 + below(9)) + (chance(50) ? "E" : "e") +
                   (chance(30)   ? "-"
                    : chance(50) ? "+"
                                 : "") +
                   std::to_string(below(120));
            break;
        }
        for (char& c : text)
            if (c == '#') c = m_sep.Decimal;
        return text;
    }

    std::string operand() { return chance(55) ? variable() : number(); }

    /// A token sequence that mostly follows the syntax, with brackets mostly balanced.
    std::string looseText() {
        std::string text;
        int state = 0, depth = 0;
        const int length = 1 + below(chance(10) ? 120 : 25);
        for (int i = 0; i < length || (chance(90) && depth > 0); ++i) {
            const bool obey = chance(92);
            const bool afterOperand = state == 2 || state == 6;
            int cls; // 1 "(", 2 ")", 3 "-", 4 binary, 5 function, 6 operand, 7 separator
            if (!obey) {
                cls = 1 + below(7);
            } else if (afterOperand) {
                const int r = below(100);
                cls = depth > 0 && r < 25 ? 2 : r < 50 ? 3 : r < 93 ? 4 : 7;
                if (i >= length && depth > 0) cls = 2;
            } else {
                const int r = below(100);
                cls = r < 20                                             ? 1
                      : r < 30 && state != 3 && state != 4 && state != 5 ? 3
                      : r < 50                                           ? 5
                                                                         : 6;
            }
            switch (cls) {
            case 1:
                text += "(";
                ++depth;
                state = 1;
                break;
            case 2:
                text += ")";
                --depth;
                state = 2;
                break;
            case 3:
                text += "-";
                state = afterOperand ? 4 : 3;
                break;
            case 4:
                text += binaryOperator();
                state = 4;
                break;
            case 5:
                text += functionWord() + (chance(70) ? " " : "");
                state = 5;
                break;
            case 6:
                text += operand();
                state = 6;
                break;
            default:
                text += m_sep.List;
                state = 7;
                break;
            }
            if (chance(30)) text += " ";
        }
        return text;
    }

    /// Characters and words thrown together without any syntax.
    std::string characterSoup() {
        static const char alphabet[] = "0123456789eE.+-*/^()  abxSINCOTLGDVMRFZ";
        std::string text;
        const int length = below(40);
        for (int i = 0; i < length; ++i) {
            const int r = below(100);
            if (r < 10)
                text += functionWord();
            else if (r < 14)
                text += mixedCase(chance(50) ? "DIV" : "MOD");
            else if (r < 18)
                text += m_sep.List;
            else if (r < 22)
                text += m_sep.Decimal;
            else
                text += alphabet[below(static_cast<int>(sizeof alphabet) - 1)];
        }
        return text;
    }

    /// Shape of a grammatical expression.
    struct Shape {
        int depth;                 ///< bracket nesting allowed below the top
        int maxTerms;              ///< terms per sum or product chain
        int bracketPct;            ///< chance of a bracketed group for an atom
        int functionPct;           ///< chance of each further function word before an atom
        std::size_t budget = 1000; ///< length after which no further term or group starts
        bool tame = false;
    };

    /// A grammatical expression: minus only where the syntax allows it, brackets balanced.
    std::string grammatical(const Shape& shape) {
        m_tame = shape.tame;
        std::string text;
        expression(shape, shape.depth, text);
        return text;
    }

    /// A value for a variable: special values often, ordinary ones otherwise.
    Extended value() {
        static const Extended special[] = {0,
                                           -0.0L,
                                           1,
                                           -1,
                                           2,
                                           -2,
                                           0.5L,
                                           -0.5L,
                                           2.5L,
                                           -2.5L,
                                           3,
                                           1e60L,
                                           -1e60L,
                                           1e99L,
                                           1e100L,
                                           -1e100L,
                                           1e200L,
                                           -1e200L,
                                           1e-300L,
                                           -1e-300L,
                                           1e-4940L,
                                           2147483647.5L,
                                           -2147483648.5L,
                                           2147483648.0L,
                                           1.0000001L,
                                           0.9999999L,
                                           -0.9999999L,
                                           1e4000L,
                                           std::numeric_limits<Extended>::infinity(),
                                           std::numeric_limits<Extended>::quiet_NaN()};
        std::uniform_real_distribution<double> unit(0, 1);
        if (m_tame) return static_cast<Extended>(unit(m_rng) + 0.5) * (chance(50) ? 1 : -1);
        const int r = below(100);
        if (r < 35)
            return special[below(static_cast<int>(std::size(special)) - (chance(90) ? 2 : 0))];
        if (r < 60) return static_cast<Extended>(below(201) - 100);
        if (r < 80) return (unit(m_rng) * 20 - 10) + static_cast<Extended>(unit(m_rng)) * 1e-17L;
        const Extended magnitude = std::pow(10.0L, static_cast<Extended>(unit(m_rng) * 80 - 40));
        return chance(50) ? magnitude : -magnitude;
    }

private:
    void expression(const Shape& shape, int depth, std::string& text) {
        if (chance(15)) text += "-";
        const int terms = 1 + below(shape.maxTerms);
        for (int t = 0; t < terms; ++t) {
            if (t > 0 && text.size() > shape.budget) break;
            if (t > 0) text += binaryOperator();
            term(shape, depth, text);
        }
    }

    void term(const Shape& shape, int depth, std::string& text) {
        while (chance(shape.functionPct)) {
            gap(text);
            text += functionWord() + (chance(60) ? " " : "");
        }
        if (depth > 0 && text.size() < shape.budget && chance(shape.bracketPct)) {
            text += "(";
            expression(shape, depth - 1, text);
            text += ")";
        } else {
            gap(text);
            text += operand();
        }
    }

    // A word glued to the word before would become one name.
    static void gap(std::string& text) {
        if (!text.empty() && std::isalnum(static_cast<unsigned char>(text.back()))) text += " ";
    }

    std::mt19937_64 m_rng;
    tSeparators m_sep;
    bool m_tame = false;
};

} // namespace probex::test
