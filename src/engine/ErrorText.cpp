#include "engine/Expression.h"

namespace probex {

const char* ErrorText(std::uint8_t code) {
    static constexpr const char* Messages[] = {
        "No error",
        "Error in expression",
        "Empty string",
        "No expression",
        "Brackets don't match",
        "Missing \"(\" character",
        "Missing \")\" character",
        "Invalid numeric constant",
        "Illegal character",
        "Missing \"0\" character",
        "Missing parameter name",
        "Missing operand",
        "Missing operator",
        "Too many operands",
        "Too many operators",
        "Division by zero",
        "Overflow",
        "Invalid argument",
        "Operand stack overflow",
        "Operand stack underflow",
        "Operator stack overflow",
        "Operator stack underflow",
        "Missing '=' character",
        "Missing '=','<' or '>' character",
        "Too many '=','<' or '>' characters",
        "Illegal space chracter",
        "Reserved word",
        "Illegal name",
        "Duplicite name",
        "Input variable on left side",
    };
    code &= 0x7F;
    if (code == 32) return "Internal";
    if (code < std::size(Messages)) return Messages[code];
    return "Expression error"; // 30, 31 and every code outside the table
}

} // namespace probex
