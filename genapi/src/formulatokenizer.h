#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace GenApi
{

// Raised for any problem with a formula's text or its evaluation; the node
// that owns the formula turns it into a GenICam exception naming itself.
class tcFormulaError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class teToken
{
    Number,
    Identifier,
    LParen,
    RParen,
    Comma,
    Question,
    Colon,
    OrOr,
    AndAnd,
    Or,
    Xor,
    And,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    ShiftLeft,
    ShiftRight,
    Plus,
    Minus,
    Times,
    Divide,
    Modulo,
    Power,
    Tilde,
    End
};

struct tsToken
{
    teToken meKind = teToken::End;
    std::string msText;     // identifier text
    bool mbIsFloat = false; // number literal written with a point or exponent
    int64_t mnInt = 0;
    double mdFloat = 0.0;
    size_t mnPos = 0;
};

// Splits formula text into tokens. Identifiers may contain dots so that
// "Gain.Max" or "Mode.Entry.Off" arrive as one name.
class tcFormulaTokenizer
{
public:
    static std::vector<tsToken> tokenize(const std::string& arText);

private:
    static tsToken readNumber(const std::string& arText, size_t& arPos);
};

} // namespace GenApi
