#include "formula.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace GenApi
{

namespace
{

// Deep enough for any real description, shallow enough that a hostile one
// cannot exhaust the stack.
const int gnMaxDepth = 200;

std::string upper(std::string asText)
{
    std::transform(asText.begin(), asText.end(), asText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return asText;
}

int64_t wrapAdd(int64_t anA, int64_t anB)
{
    return static_cast<int64_t>(static_cast<uint64_t>(anA) + static_cast<uint64_t>(anB));
}
int64_t wrapSub(int64_t anA, int64_t anB)
{
    return static_cast<int64_t>(static_cast<uint64_t>(anA) - static_cast<uint64_t>(anB));
}
int64_t wrapMul(int64_t anA, int64_t anB)
{
    return static_cast<int64_t>(static_cast<uint64_t>(anA) * static_cast<uint64_t>(anB));
}

int64_t shiftLeft(int64_t anValue, int64_t anCount)
{
    if (anCount < 0)
        return anCount <= -64 ? (anValue < 0 ? -1 : 0) : (anValue >> -anCount);
    if (anCount >= 64)
        return 0;
    return static_cast<int64_t>(static_cast<uint64_t>(anValue) << anCount);
}

int64_t shiftRight(int64_t anValue, int64_t anCount)
{
    if (anCount < 0)
        return shiftLeft(anValue, anCount <= -64 ? 64 : -anCount);
    if (anCount >= 64)
        return anValue < 0 ? -1 : 0;
    // Arithmetic shift: signed values keep their sign.
    return anValue >> anCount;
}

int64_t intPower(int64_t anBase, int64_t anExp)
{
    if (anExp < 0)
    {
        if (anBase == 1)
            return 1;
        if (anBase == -1)
            return (anExp % 2) ? -1 : 1;
        if (anBase == 0)
            throw tcFormulaError("zero raised to a negative power");
        return 0;
    }
    int64_t nResult = 1;
    while (anExp > 0)
    {
        if (anExp & 1)
            nResult = wrapMul(nResult, anBase);
        anBase = wrapMul(anBase, anBase);
        anExp >>= 1;
    }
    return nResult;
}

} // namespace

int64_t tcFormula::toInt(double adValue)
{
    if (std::isnan(adValue))
        return 0;
    if (adValue >= 9223372036854775807.0)
        return std::numeric_limits<int64_t>::max();
    if (adValue <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(adValue);
}

// Recursive descent, one function per precedence level (lowest first).
class tcFormula::tcParser
{
public:
    tcParser(tcFormula& arFormula, std::vector<tsToken> acTokens, const tfResolver& afResolve)
        : mrFormula(arFormula), mcTokens(std::move(acTokens)), mfResolve(afResolve)
    {
    }

    int parseAll()
    {
        if (peek() == teToken::End)
            throw tcFormulaError("empty formula");
        const int nRoot = parseConditional();
        if (peek() != teToken::End)
            throw tcFormulaError("unexpected token at position " + std::to_string(mcTokens[mnPos].mnPos));
        return nRoot;
    }

private:
    struct tsDepth
    {
        explicit tsDepth(int& arDepth) : mrDepth(arDepth)
        {
            if (++mrDepth > gnMaxDepth)
                throw tcFormulaError("formula nested too deeply");
        }
        ~tsDepth() { --mrDepth; }
        int& mrDepth;
    };

    teToken peek() const { return mcTokens[mnPos].meKind; }
    bool accept(teToken aeKind)
    {
        if (peek() != aeKind)
            return false;
        ++mnPos;
        return true;
    }
    void expect(teToken aeKind, const char* apWhat)
    {
        if (!accept(aeKind))
            throw tcFormulaError(std::string("expected ") + apWhat + " at position " +
                                 std::to_string(mcTokens[mnPos].mnPos));
    }

    int add(const tsNode& arNode)
    {
        mrFormula.mcNodes.push_back(arNode);
        return static_cast<int>(mrFormula.mcNodes.size() - 1);
    }
    int binary(teOp aeOp, int anA, int anB)
    {
        tsNode cNode;
        cNode.meOp = aeOp;
        cNode.mnA = anA;
        cNode.mnB = anB;
        return add(cNode);
    }

    int parseConditional()
    {
        tsDepth cDepth(mnDepth);
        const int nCond = parseLogOr();
        if (!accept(teToken::Question))
            return nCond;
        const int nThen = parseConditional();
        expect(teToken::Colon, "':'");
        const int nElse = parseConditional();
        tsNode cNode;
        cNode.meOp = teOp::Cond;
        cNode.mnA = nCond;
        cNode.mnB = nThen;
        cNode.mnC = nElse;
        return add(cNode);
    }

    // Generic left-associative level over a table of operators.
    template <class Next> int leftAssoc(Next afNext, std::initializer_list<std::pair<teToken, teOp>> acOps)
    {
        int nLeft = (this->*afNext)();
        for (;;)
        {
            bool bMatched = false;
            for (const auto& rOp : acOps)
            {
                if (accept(rOp.first))
                {
                    nLeft = binary(rOp.second, nLeft, (this->*afNext)());
                    bMatched = true;
                    break;
                }
            }
            if (!bMatched)
                return nLeft;
        }
    }

    int parseLogOr() { return leftAssoc(&tcParser::parseLogAnd, {{teToken::OrOr, teOp::LogOr}}); }
    int parseLogAnd() { return leftAssoc(&tcParser::parseBitOr, {{teToken::AndAnd, teOp::LogAnd}}); }
    int parseBitOr() { return leftAssoc(&tcParser::parseBitXor, {{teToken::Or, teOp::BitOr}}); }
    int parseBitXor() { return leftAssoc(&tcParser::parseBitAnd, {{teToken::Xor, teOp::BitXor}}); }
    int parseBitAnd() { return leftAssoc(&tcParser::parseEquality, {{teToken::And, teOp::BitAnd}}); }
    int parseEquality()
    {
        return leftAssoc(&tcParser::parseRelational,
                         {{teToken::Equal, teOp::Eq}, {teToken::NotEqual, teOp::Ne}});
    }
    int parseRelational()
    {
        return leftAssoc(&tcParser::parseShift, {{teToken::LessEqual, teOp::Le},
                                                 {teToken::GreaterEqual, teOp::Ge},
                                                 {teToken::Less, teOp::Lt},
                                                 {teToken::Greater, teOp::Gt}});
    }
    int parseShift()
    {
        return leftAssoc(&tcParser::parseAdditive,
                         {{teToken::ShiftLeft, teOp::Shl}, {teToken::ShiftRight, teOp::Shr}});
    }
    int parseAdditive()
    {
        return leftAssoc(&tcParser::parseMultiplicative,
                         {{teToken::Plus, teOp::Add}, {teToken::Minus, teOp::Sub}});
    }
    int parseMultiplicative()
    {
        return leftAssoc(
            &tcParser::parseUnary,
            {{teToken::Times, teOp::Mul}, {teToken::Divide, teOp::Div}, {teToken::Modulo, teOp::Mod}});
    }

    // Unary operators bind looser than "**": -2**2 is -(2**2).
    int parseUnary()
    {
        tsDepth cDepth(mnDepth);
        if (accept(teToken::Minus))
            return binary(teOp::Neg, parseUnary(), -1);
        if (accept(teToken::Plus))
            return parseUnary();
        if (accept(teToken::Tilde))
            return binary(teOp::BitNot, parseUnary(), -1);
        return parsePower();
    }

    int parsePower()
    {
        const int nBase = parsePrimary();
        if (accept(teToken::Power))
            return binary(teOp::Pow, nBase, parseUnary());
        return nBase;
    }

    int parsePrimary()
    {
        tsDepth cDepth(mnDepth);
        const tsToken& rToken = mcTokens[mnPos];
        if (accept(teToken::Number))
        {
            tsNode cNode;
            cNode.meOp = teOp::Const;
            cNode.mnInt = rToken.mnInt;
            cNode.mdFloat = rToken.mdFloat;
            cNode.mbFloatLiteral = rToken.mbIsFloat;
            return add(cNode);
        }
        if (accept(teToken::LParen))
        {
            const int nInner = parseConditional();
            expect(teToken::RParen, "')'");
            return nInner;
        }
        if (accept(teToken::Identifier))
        {
            if (peek() == teToken::LParen)
                return parseCall(rToken);
            return identifier(rToken);
        }
        if (peek() == teToken::End)
            throw tcFormulaError("formula ends unexpectedly");
        throw tcFormulaError("unexpected token at position " + std::to_string(rToken.mnPos));
    }

    int identifier(const tsToken& arToken)
    {
        tsNode cNode;
        const int nVar = mfResolve ? mfResolve(arToken.msText) : -1;
        if (nVar >= 0)
        {
            cNode.meOp = teOp::Var;
            cNode.mnVar = nVar;
            return add(cNode);
        }
        const std::string sUpper = upper(arToken.msText);
        if (sUpper == "PI" || sUpper == "E")
        {
            cNode.meOp = teOp::Const;
            cNode.mdFloat = sUpper == "PI" ? 3.14159265358979323846 : 2.71828182845904523536;
            cNode.mnInt = static_cast<int64_t>(cNode.mdFloat);
            cNode.mbFloatLiteral = true;
            return add(cNode);
        }
        throw tcFormulaError("unknown variable '" + arToken.msText + "'");
    }

    int parseCall(const tsToken& arName)
    {
        static const std::pair<const char*, teFunc> cFunctions[] = {
            {"NEG", teFunc::Neg},   {"SGN", teFunc::Sgn},     {"ABS", teFunc::Abs},
            {"SQRT", teFunc::Sqrt}, {"EXP", teFunc::Exp},     {"LN", teFunc::Ln},
            {"LG", teFunc::Lg},     {"SIN", teFunc::Sin},     {"COS", teFunc::Cos},
            {"TAN", teFunc::Tan},   {"ASIN", teFunc::Asin},   {"ACOS", teFunc::Acos},
            {"ATAN", teFunc::Atan}, {"TRUNC", teFunc::Trunc}, {"FLOOR", teFunc::Floor},
            {"CEIL", teFunc::Ceil}, {"ROUND", teFunc::Round}, {"FRAC", teFunc::Frac}};
        const std::string sUpper = upper(arName.msText);
        const auto* pEnd = std::end(cFunctions);
        const auto* pFound = std::find_if(std::begin(cFunctions), pEnd,
                                          [&](const auto& rEntry) { return sUpper == rEntry.first; });
        if (pFound == pEnd)
            throw tcFormulaError("unknown function '" + arName.msText + "'");
        expect(teToken::LParen, "'('");
        tsNode cNode;
        cNode.meOp = teOp::Func;
        cNode.meFunc = pFound->second;
        if (peek() == teToken::RParen)
            throw tcFormulaError("function '" + arName.msText + "' needs an argument");
        cNode.mnA = parseConditional();
        if (accept(teToken::Comma))
        {
            if (cNode.meFunc != teFunc::Round)
                throw tcFormulaError("function '" + arName.msText + "' takes one argument");
            cNode.mnB = parseConditional();
        }
        expect(teToken::RParen, "')'");
        return add(cNode);
    }

    tcFormula& mrFormula;
    std::vector<tsToken> mcTokens;
    const tfResolver& mfResolve;
    size_t mnPos = 0;
    int mnDepth = 0;
};

void tcFormula::parse(const std::string& arText, const tfResolver& afResolve)
{
    mcNodes.clear();
    mnRoot = -1;
    tcParser cParser(*this, tcFormulaTokenizer::tokenize(arText), afResolve);
    mnRoot = cParser.parseAll();
}

int64_t tcFormula::evaluateInt(tcVariables& arVariables) const
{
    if (mnRoot < 0)
        throw tcFormulaError("formula is empty");
    return evalInt(mnRoot, arVariables);
}

double tcFormula::evaluateFloat(tcVariables& arVariables) const
{
    if (mnRoot < 0)
        throw tcFormulaError("formula is empty");
    return evalFloat(mnRoot, arVariables);
}

double tcFormula::applyFunction(teFunc aeFunc, double adA, double adB, bool abHasB)
{
    switch (aeFunc)
    {
    case teFunc::Neg:
        return -adA;
    case teFunc::Sgn:
        return adA > 0 ? 1.0 : (adA < 0 ? -1.0 : 0.0);
    case teFunc::Abs:
        return std::fabs(adA);
    case teFunc::Sqrt:
        return std::sqrt(adA);
    case teFunc::Exp:
        return std::exp(adA);
    case teFunc::Ln:
        return std::log(adA);
    case teFunc::Lg:
        return std::log10(adA);
    case teFunc::Sin:
        return std::sin(adA);
    case teFunc::Cos:
        return std::cos(adA);
    case teFunc::Tan:
        return std::tan(adA);
    case teFunc::Asin:
        return std::asin(adA);
    case teFunc::Acos:
        return std::acos(adA);
    case teFunc::Atan:
        return std::atan(adA);
    case teFunc::Trunc:
        return std::trunc(adA);
    case teFunc::Floor:
        return std::floor(adA);
    case teFunc::Ceil:
        return std::ceil(adA);
    case teFunc::Round:
    {
        if (!abHasB)
            return std::round(adA);
        const double dScale = std::pow(10.0, std::trunc(adB));
        return std::round(adA * dScale) / dScale;
    }
    case teFunc::Frac:
        return adA - std::trunc(adA);
    }
    return 0.0;
}

int64_t tcFormula::evalInt(int anNode, tcVariables& arVariables) const
{
    const tsNode& rNode = mcNodes[static_cast<size_t>(anNode)];
    auto a = [&] { return evalInt(rNode.mnA, arVariables); };
    auto b = [&] { return evalInt(rNode.mnB, arVariables); };
    switch (rNode.meOp)
    {
    case teOp::Const:
        return rNode.mnInt;
    case teOp::Var:
        return arVariables.intValue(rNode.mnVar);
    case teOp::Neg:
        return wrapSub(0, a());
    case teOp::BitNot:
        return ~a();
    case teOp::Add:
        return wrapAdd(a(), b());
    case teOp::Sub:
        return wrapSub(a(), b());
    case teOp::Mul:
        return wrapMul(a(), b());
    case teOp::Div:
    case teOp::Mod:
    {
        const int64_t nA = a();
        const int64_t nB = b();
        if (nB == 0)
            throw tcFormulaError("division by zero");
        if (nB == -1) // avoids the one overflowing case INT64_MIN / -1
            return rNode.meOp == teOp::Div ? wrapSub(0, nA) : 0;
        return rNode.meOp == teOp::Div ? nA / nB : nA % nB;
    }
    case teOp::Pow:
        return intPower(a(), b());
    case teOp::Shl:
        return shiftLeft(a(), b());
    case teOp::Shr:
        return shiftRight(a(), b());
    case teOp::Lt:
        return a() < b();
    case teOp::Gt:
        return a() > b();
    case teOp::Le:
        return a() <= b();
    case teOp::Ge:
        return a() >= b();
    case teOp::Eq:
        return a() == b();
    case teOp::Ne:
        return a() != b();
    case teOp::BitAnd:
        return a() & b();
    case teOp::BitXor:
        return a() ^ b();
    case teOp::BitOr:
        return a() | b();
    case teOp::LogAnd:
        return a() != 0 && b() != 0;
    case teOp::LogOr:
        return a() != 0 || b() != 0;
    case teOp::Cond:
        return a() != 0 ? b() : evalInt(rNode.mnC, arVariables);
    case teOp::Func:
    {
        // The other functions work on real numbers, which integer formulas
        // do not have.
        if (rNode.meFunc != teFunc::Neg && rNode.meFunc != teFunc::Sgn && rNode.meFunc != teFunc::Abs)
            throw tcFormulaError("an integer formula cannot use a function of real numbers");
        const int64_t nA = a();
        if (rNode.meFunc == teFunc::Neg)
            return wrapSub(0, nA);
        if (rNode.meFunc == teFunc::Sgn)
            return nA > 0 ? 1 : (nA < 0 ? -1 : 0);
        return nA < 0 ? wrapSub(0, nA) : nA;
    }
    }
    return 0;
}

double tcFormula::evalFloat(int anNode, tcVariables& arVariables) const
{
    const tsNode& rNode = mcNodes[static_cast<size_t>(anNode)];
    auto a = [&] { return evalFloat(rNode.mnA, arVariables); };
    auto b = [&] { return evalFloat(rNode.mnB, arVariables); };
    auto ia = [&] { return toInt(a()); };
    auto ib = [&] { return toInt(b()); };
    switch (rNode.meOp)
    {
    case teOp::Const:
        return rNode.mbFloatLiteral ? rNode.mdFloat : static_cast<double>(rNode.mnInt);
    case teOp::Var:
        return arVariables.floatValue(rNode.mnVar);
    case teOp::Neg:
        return -a();
    case teOp::BitNot:
        return static_cast<double>(~ia());
    case teOp::Add:
        return a() + b();
    case teOp::Sub:
        return a() - b();
    case teOp::Mul:
        return a() * b();
    case teOp::Div:
    {
        const double dA = a();
        const double dB = b();
        if (dB == 0.0)
            throw tcFormulaError("division by zero");
        return dA / dB;
    }
    case teOp::Mod:
    {
        const double dA = a();
        const double dB = b();
        if (dB == 0.0)
            throw tcFormulaError("division by zero");
        return std::fmod(dA, dB);
    }
    case teOp::Pow:
        return std::pow(a(), b());
    case teOp::Shl:
        return static_cast<double>(shiftLeft(ia(), ib()));
    case teOp::Shr:
        return static_cast<double>(shiftRight(ia(), ib()));
    case teOp::Lt:
        return a() < b();
    case teOp::Gt:
        return a() > b();
    case teOp::Le:
        return a() <= b();
    case teOp::Ge:
        return a() >= b();
    case teOp::Eq:
        return a() == b();
    case teOp::Ne:
        return a() != b();
    case teOp::BitAnd:
        return static_cast<double>(ia() & ib());
    case teOp::BitXor:
        return static_cast<double>(ia() ^ ib());
    case teOp::BitOr:
        return static_cast<double>(ia() | ib());
    case teOp::LogAnd:
        return a() != 0.0 && b() != 0.0;
    case teOp::LogOr:
        return a() != 0.0 || b() != 0.0;
    case teOp::Cond:
        return a() != 0.0 ? b() : evalFloat(rNode.mnC, arVariables);
    case teOp::Func:
    {
        const double dA = a();
        const bool bHasB = rNode.mnB >= 0;
        return applyFunction(rNode.meFunc, dA, bHasB ? b() : 0.0, bHasB);
    }
    }
    return 0.0;
}

} // namespace GenApi
