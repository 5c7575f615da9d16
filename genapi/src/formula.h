#pragma once
#include "formulatokenizer.h"

#include <functional>
#include <string>
#include <vector>

namespace GenApi
{

// A parsed arithmetic formula. It knows nothing about nodes: names are mapped
// to variable numbers once while parsing, and values are asked for by number
// while evaluating. Integer and floating evaluation follow different rules
// (truncating division and remainder in integers, true division and fmod in
// floating point).
class tcFormula
{
public:
    class tcVariables
    {
    public:
        virtual int64_t intValue(int anIndex) = 0;
        virtual double floatValue(int anIndex) = 0;

    protected:
        ~tcVariables() = default;
    };

    // Returns the variable number of a name, or -1 when the name is unknown.
    using tfResolver = std::function<int(const std::string&)>;

    void parse(const std::string& arText, const tfResolver& afResolve);
    bool isEmpty() const { return mnRoot < 0; }
    int64_t evaluateInt(tcVariables& arVariables) const;
    double evaluateFloat(tcVariables& arVariables) const;

    static int64_t toInt(double adValue);

private:
    enum class teOp
    {
        Const,
        Var,
        Neg,
        BitNot,
        Add,
        Sub,
        Mul,
        Div,
        Mod,
        Pow,
        Shl,
        Shr,
        Lt,
        Gt,
        Le,
        Ge,
        Eq,
        Ne,
        BitAnd,
        BitXor,
        BitOr,
        LogAnd,
        LogOr,
        Cond,
        Func
    };

    enum class teFunc
    {
        Neg,
        Sgn,
        Abs,
        Sqrt,
        Exp,
        Ln,
        Lg,
        Sin,
        Cos,
        Tan,
        Asin,
        Acos,
        Atan,
        Trunc,
        Floor,
        Ceil,
        Round,
        Frac
    };

    struct tsNode
    {
        teOp meOp = teOp::Const;
        int mnA = -1;
        int mnB = -1;
        int mnC = -1;
        int64_t mnInt = 0;
        double mdFloat = 0.0;
        bool mbFloatLiteral = false;
        int mnVar = -1;
        teFunc meFunc = teFunc::Neg;
    };

    class tcParser;

    int64_t evalInt(int anNode, tcVariables& arVariables) const;
    double evalFloat(int anNode, tcVariables& arVariables) const;
    static double applyFunction(teFunc aeFunc, double adA, double adB, bool abHasB);

    std::vector<tsNode> mcNodes;
    int mnRoot = -1;
};

} // namespace GenApi
