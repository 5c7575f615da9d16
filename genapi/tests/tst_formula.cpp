#include "formula.h"

#include <QtTest>

#include <cmath>
#include <map>

using GenApi::tcFormula;
using GenApi::tcFormulaError;

Q_DECLARE_METATYPE(int64_t)

namespace
{
// Variables for the tests: A = 5, B = -3, X = 2.5 (integer view truncates).
class tcTestVariables : public tcFormula::tcVariables
{
public:
    int64_t intValue(int anIndex) override { return anIndex == 0 ? 5 : anIndex == 1 ? -3 : 2; }
    double floatValue(int anIndex) override { return anIndex == 0 ? 5.0 : anIndex == 1 ? -3.0 : 2.5; }
};

int resolve(const std::string& arName)
{
    static const std::map<std::string, int> cNames{{"A", 0}, {"B", 1}, {"X", 2}, {"Gain.Max", 0}};
    auto it = cNames.find(arName);
    return it == cNames.end() ? -1 : it->second;
}

tcFormula parse(const QString& arText)
{
    tcFormula cFormula;
    cFormula.parse(arText.toStdString(), resolve);
    return cFormula;
}
} // namespace

class tst_Formula : public QObject
{
    Q_OBJECT

private slots:
    void integerResults_data();
    void integerResults();
    void floatResults_data();
    void floatResults();
    void errors_data();
    void errors();
    void evaluationErrors_data();
    void evaluationErrors();
};

void tst_Formula::integerResults_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int64_t>("expected");
    auto row = [](const char* apText, int64_t anValue)
    { QTest::newRow(apText) << QString(apText) << anValue; };
    row("1+2*3", 7);
    row("(1+2)*3", 9);
    row("10-4-3", 3);
    row("2**3**2", 512);
    row("-2**2", -4);
    row("7/2", 3);
    row("-7/2", -3);
    row("-7%3", -1);
    row("7%-3", 1);
    row("010", 10);
    row("0x10", 16);
    row("0XfF", 255);
    row("0xFFFFFFFFFFFFFFFF", -1);
    row("1<<4", 16);
    row("-16>>2", -4);
    row("B>>1", -2);
    row("B&0xFF", 253);
    row("~0", -1);
    row("5&3|8", 9);
    row("5^1", 4);
    row("1|2^3&4", 3);
    row("1+1=2", 1);
    row("3<>3", 0);
    row("2<3=1", 1);
    row("1<<2<5", 1);
    row("A>3&&B<0", 1);
    row("A>3&&B>0||1", 1);
    row("0||0", 0);
    row("A=5?10:20", 10);
    row("A=4?10:B=-3?30:40", 30);
    row("1?2?3:4:5", 3);
    row("0?1:0?2:3", 3);
    row("NEG(A)", -5);
    row("neg(B)", 3);
    row("SGN(B)", -1);
    row("ABS(B)", 3);
    row("Gain.Max/2", 2);
    row("A*B", -15);
    row("  A \n + \t 1 ", 6);
    row("1e2", 100);
    row("2.9*2", 4); // literals truncate in integer formulas
}

void tst_Formula::integerResults()
{
    QFETCH(QString, formula);
    QFETCH(int64_t, expected);
    tcTestVariables cVariables;
    QCOMPARE(parse(formula).evaluateInt(cVariables), expected);
}

void tst_Formula::floatResults_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("expected");
    auto row = [](const char* apText, double adValue)
    { QTest::newRow(apText) << QString(apText) << adValue; };
    row("7/2", 3.5);
    row("25.2%7", 4.2);
    row("X*2", 5.0);
    row("X/2", 1.25);
    row("2**-1", 0.5);
    row("-2**2", -4.0);
    row("ROUND(45.4545, 2)", 45.45);
    row("ROUND(45.4545, -1)", 50.0);
    row("ROUND(-2.5)", -3.0);
    row("TRUNC(-2.7)", -2.0);
    row("FLOOR(-2.2)", -3.0);
    row("CEIL(2.2)", 3.0);
    row("FRAC(-5.4)", -0.4);
    row("SQRT(16)", 4.0);
    row("LG(1000)", 3.0);
    row("LN(E)", 1.0);
    row("exp(0)", 1.0);
    row("SIN(0)+COS(0)", 1.0);
    row("ATAN(1)*4", M_PI);
    row("pi", M_PI);
    row("X>2?X:0", 2.5);
    row("5.5&3", 1.0);
    row("X<<1", 4.0);
    row("1.5e3", 1500.0);
    row(".5+.25", 0.75);
}

void tst_Formula::floatResults()
{
    QFETCH(QString, formula);
    QFETCH(double, expected);
    tcTestVariables cVariables;
    const double dResult = parse(formula).evaluateFloat(cVariables);
    QVERIFY2(std::fabs(dResult - expected) < 1e-9, qPrintable(QString::number(dResult, 'g', 17)));
}

void tst_Formula::errors_data()
{
    QTest::addColumn<QString>("formula");
    for (const char* pText :
         {"", "1 2", "(1+2", "1+2)", "1+", "FOO(1)", "SGN()", "SGN(1,2)", "ROUND(1,2,3)", "Y+1", "0x",
          "1 $ 2", "!1", "A}B", "\"A\"", "#1", "?1:2", "1?2", "0x11112222333344445"})
        QTest::newRow(*pText ? pText : "empty") << QString(pText);
    // Deep nesting must end in an error, not in a stack overflow.
    QTest::newRow("nested") << QString(5000, '(') + "1" + QString(5000, ')');
    QTest::newRow("unary chain") << QString(5000, '-') + "1";
}

void tst_Formula::errors()
{
    QFETCH(QString, formula);
    tcFormula cFormula;
    QVERIFY_EXCEPTION_THROWN(cFormula.parse(formula.toStdString(), resolve), tcFormulaError);
}

void tst_Formula::evaluationErrors_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("integer");
    QTest::newRow("int div zero") << "A/(B+3)" << true;
    QTest::newRow("int mod zero") << "A%0" << true;
    QTest::newRow("float div zero") << "X/0" << false;
    QTest::newRow("float mod zero") << "X%0" << false;
    QTest::newRow("zero negative power") << "0**-1" << true;
    // Integer formulas have no real numbers to give such functions.
    for (const char* pText : {"ROUND(X)", "SIN(A)", "cos(0)", "SQRT(16)", "TRUNC(A)", "ROUND(A, 1)"})
        QTest::newRow(pText) << pText << true;
}

void tst_Formula::evaluationErrors()
{
    QFETCH(QString, formula);
    QFETCH(bool, integer);
    tcTestVariables cVariables;
    const tcFormula cFormula = parse(formula);
    if (integer)
        QVERIFY_EXCEPTION_THROWN(cFormula.evaluateInt(cVariables), tcFormulaError);
    else
        QVERIFY_EXCEPTION_THROWN(cFormula.evaluateFloat(cVariables), tcFormulaError);
}

QTEST_APPLESS_MAIN(tst_Formula)
#include "tst_formula.moc"
