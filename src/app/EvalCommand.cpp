#include "app/EvalCommand.h"

#include "engine/Expression.h"
#include "engine/NumberWord.h"

#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace probex {

namespace {

/// A value on the command line: an optional sign, then a number with "." as separator.
bool ParseValue(std::string_view text, Extended& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (ParseUnsignedNumber(text, '.', value) != NumberParse::Ok) return false;
    if (negative) value = -value;
    return true;
}

/// 18 significant digits, never touched by the process's locale.
std::string FormatValue(Extended value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 18);
    return std::string(buffer, result.ptr);
}

} // namespace

int RunEvalCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc < 1) {
        err << "usage: probex --eval \"EXPR\" [NAME=VALUE ...]\n";
        return 2;
    }
    // Both records are large; keep them off the stack.
    auto compiled = std::make_unique<tCompiledEquation>();
    auto vars = std::make_unique<tVars>();
    TEquError error;
    CompileExpression(argv[0], *compiled, *vars, error);
    if (error.Code != ecNone) {
        err << ErrorText(error.Code) << " at position " << error.Pos << '\n';
        return 1;
    }

    std::vector<bool> assigned(static_cast<std::size_t>(vars->Count) + 1, false);
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::size_t eq = arg.find('=');
        Extended value = 0;
        if (eq == std::string_view::npos || !ParseValue(arg.substr(eq + 1), value)) {
            err << "Invalid assignment: " << arg << " (expected NAME=VALUE)\n";
            return 2;
        }
        int index = FindVar(arg.substr(0, eq), *vars);
        if (index == 0) {
            err << "Unknown variable: " << arg.substr(0, eq) << '\n';
            return 2;
        }
        vars->Values[index] = value;
        assigned[index] = true;
    }
    for (int i = 1; i <= vars->Count; ++i) {
        if (!assigned[i]) {
            err << "Variable without a value: " << vars->Names[i] << '\n';
            return 1;
        }
    }

    tEvalResult result = EvaluateExpression(*compiled, *vars);
    if (result.Code != ecNone) {
        err << ErrorText(result.Code) << '\n';
        return 1;
    }
    out << FormatValue(result.Value) << '\n';
    return 0;
}

int RunEvalCommand(int argc, const char* const* argv) {
    return RunEvalCommand(argc, argv, std::cout, std::cerr);
}

} // namespace probex
