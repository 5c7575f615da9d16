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

// Matches the operator at arText[anPos]; returns its length, 0 if none.
// Two-character operators are tried before their one-character prefixes.
size_t matchOperator(const std::string& arText, size_t anPos, teToken& arKind)
{
    const char c = arText[anPos];
    const char d = anPos + 1 < arText.size() ? arText[anPos + 1] : '\0';
    auto two = [&](char acSecond, teToken aeTwo, teToken aeOne) -> size_t
    {
        if (d == acSecond)
        {
            arKind = aeTwo;
            return 2;
        }
        arKind = aeOne;
        return 1;
    };
    switch (c)
    {
    case '*':
        return two('*', teToken::Power, teToken::Times);
    case '|':
        return two('|', teToken::OrOr, teToken::Or);
    case '&':
        return two('&', teToken::AndAnd, teToken::And);
    case '=':
        return two('=', teToken::Equal, teToken::Equal);
    case '>':
        if (d == '=')
            return two('=', teToken::GreaterEqual, teToken::Greater);
        return two('>', teToken::ShiftRight, teToken::Greater);
    case '<':
        if (d == '=')
            return two('=', teToken::LessEqual, teToken::Less);
        if (d == '>')
            return two('>', teToken::NotEqual, teToken::Less);
        return two('<', teToken::ShiftLeft, teToken::Less);
    case '!':
        if (d == '=')
            return two('=', teToken::NotEqual, teToken::NotEqual);
        return 0;
    case '(':
        arKind = teToken::LParen;
        return 1;
    case ')':
        arKind = teToken::RParen;
        return 1;
    case ',':
        arKind = teToken::Comma;
        return 1;
    case '?':
        arKind = teToken::Question;
        return 1;
    case ':':
        arKind = teToken::Colon;
        return 1;
    case '^':
        arKind = teToken::Xor;
        return 1;
    case '+':
        arKind = teToken::Plus;
        return 1;
    case '-':
        arKind = teToken::Minus;
        return 1;
    case '/':
        arKind = teToken::Divide;
        return 1;
    case '%':
        arKind = teToken::Modulo;
        return 1;
    case '~':
        arKind = teToken::Tilde;
        return 1;
    default:
        return 0;
    }
}

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
        tsToken cToken;
        const size_t nLen = matchOperator(arText, nPos, cToken.meKind);
        if (nLen > 0)
        {
            cToken.mnPos = nPos;
            cTokens.push_back(cToken);
            nPos += nLen;
            continue;
        }
        throw tcFormulaError(std::string("unexpected character '") + c + "' at position " +
                             std::to_string(nPos));
    }
    tsToken cEnd;
    cEnd.mnPos = arText.size();
    cTokens.push_back(cEnd);
    return cTokens;
}

} // namespace GenApi
