#include "formulatokenizer.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace GenApi
{

namespace
{

bool isIdentStart(char acChar)
{
    return std::isalpha(static_cast<unsigned char>(acChar)) || acChar == '_';
}

bool isIdentChar(char acChar)
{
    return std::isalnum(static_cast<unsigned char>(acChar)) || acChar == '_' || acChar == '.';
}

struct tsOperator
{
    const char* mpText;
    teToken meKind;
};

// Longest first so that "<=" wins over "<" and "**" over "*".
const tsOperator gcOperators[] = {
    {"**", teToken::Power},      {"||", teToken::OrOr},         {"&&", teToken::AndAnd},
    {"<>", teToken::NotEqual},   {"!=", teToken::NotEqual},     {"==", teToken::Equal},
    {"<=", teToken::LessEqual},  {">=", teToken::GreaterEqual}, {"<<", teToken::ShiftLeft},
    {">>", teToken::ShiftRight}, {"(", teToken::LParen},        {")", teToken::RParen},
    {",", teToken::Comma},       {"?", teToken::Question},      {":", teToken::Colon},
    {"|", teToken::Or},          {"^", teToken::Xor},           {"&", teToken::And},
    {"=", teToken::Equal},       {"<", teToken::Less},          {">", teToken::Greater},
    {"+", teToken::Plus},        {"-", teToken::Minus},         {"*", teToken::Times},
    {"/", teToken::Divide},      {"%", teToken::Modulo},        {"~", teToken::Tilde},
};

} // namespace

tsToken tcFormulaTokenizer::readNumber(const std::string& arText, size_t& arPos)
{
    tsToken cToken;
    cToken.meKind = teToken::Number;
    cToken.mnPos = arPos;
    const size_t nStart = arPos;
    if (arText[arPos] == '0' && arPos + 1 < arText.size() &&
        (arText[arPos + 1] == 'x' || arText[arPos + 1] == 'X'))
    {
        arPos += 2;
        const size_t nDigits = arPos;
        uint64_t nValue = 0;
        while (arPos < arText.size() && std::isxdigit(static_cast<unsigned char>(arText[arPos])))
        {
            if (arPos - nDigits >= 16)
                throw tcFormulaError("hexadecimal number too long at position " + std::to_string(nStart));
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(arText[arPos])));
            nValue = nValue * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
            ++arPos;
        }
        if (arPos == nDigits)
            throw tcFormulaError("hexadecimal number without digits at position " + std::to_string(nStart));
        // Sixteen hex digits may exceed the signed range: keep the bit pattern.
        cToken.mnInt = static_cast<int64_t>(nValue);
        cToken.mdFloat = static_cast<double>(cToken.mnInt);
        return cToken;
    }
    while (arPos < arText.size() && std::isdigit(static_cast<unsigned char>(arText[arPos])))
        ++arPos;
    bool bFloat = false;
    if (arPos < arText.size() && arText[arPos] == '.')
    {
        bFloat = true;
        ++arPos;
        while (arPos < arText.size() && std::isdigit(static_cast<unsigned char>(arText[arPos])))
            ++arPos;
    }
    if (arPos < arText.size() && (arText[arPos] == 'e' || arText[arPos] == 'E'))
    {
        size_t nExp = arPos + 1;
        if (nExp < arText.size() && (arText[nExp] == '+' || arText[nExp] == '-'))
            ++nExp;
        if (nExp < arText.size() && std::isdigit(static_cast<unsigned char>(arText[nExp])))
        {
            bFloat = true;
            arPos = nExp;
            while (arPos < arText.size() && std::isdigit(static_cast<unsigned char>(arText[arPos])))
                ++arPos;
        }
    }
    const std::string sNumber = arText.substr(nStart, arPos - nStart);
    cToken.mbIsFloat = bFloat;
    cToken.mdFloat = std::strtod(sNumber.c_str(), nullptr);
    if (bFloat)
    {
        cToken.mnInt =
            static_cast<int64_t>(cToken.mdFloat >= 9.2e18    ? INT64_MAX
                                 : cToken.mdFloat <= -9.2e18 ? INT64_MIN
                                                             : static_cast<int64_t>(cToken.mdFloat));
    }
    else
    {
        errno = 0;
        const unsigned long long nValue = std::strtoull(sNumber.c_str(), nullptr, 10);
        if (errno == ERANGE)
            throw tcFormulaError("number out of range at position " + std::to_string(nStart));
        cToken.mnInt = static_cast<int64_t>(nValue);
    }
    return cToken;
}

std::vector<tsToken> tcFormulaTokenizer::tokenize(const std::string& arText)
{
    std::vector<tsToken> cTokens;
    size_t nPos = 0;
    while (nPos < arText.size())
    {
        const char c = arText[nPos];
        if (std::isspace(static_cast<unsigned char>(c)))
        {
            ++nPos;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && nPos + 1 < arText.size() &&
             std::isdigit(static_cast<unsigned char>(arText[nPos + 1]))))
        {
            cTokens.push_back(readNumber(arText, nPos));
            continue;
        }
        if (isIdentStart(c))
        {
            tsToken cToken;
            cToken.meKind = teToken::Identifier;
            cToken.mnPos = nPos;
            const size_t nStart = nPos;
            while (nPos < arText.size() && isIdentChar(arText[nPos]))
                ++nPos;
            cToken.msText = arText.substr(nStart, nPos - nStart);
            cTokens.push_back(std::move(cToken));
            continue;
        }
        bool bFound = false;
        for (const tsOperator& rOp : gcOperators)
        {
            const size_t nLen = std::char_traits<char>::length(rOp.mpText);
            if (arText.compare(nPos, nLen, rOp.mpText) == 0)
            {
                tsToken cToken;
                cToken.meKind = rOp.meKind;
                cToken.mnPos = nPos;
                cTokens.push_back(cToken);
                nPos += nLen;
                bFound = true;
                break;
            }
        }
        if (!bFound)
            throw tcFormulaError(std::string("unexpected character '") + c + "' at position " +
                                 std::to_string(nPos));
    }
    tsToken cEnd;
    cEnd.mnPos = arText.size();
    cTokens.push_back(cEnd);
    return cTokens;
}

} // namespace GenApi
