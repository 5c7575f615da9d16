// Floating-point features where they meet integers and text: increments
// taken from the value source, the displayed text at the limits, writes
// onto integer steps and integers that cannot hold a float's value.
#include "describeddevice.h"

#include <GenApi/GenApi.h>

#include <QtTest>

using namespace GenApi;

Q_DECLARE_METATYPE(int64_t)

namespace
{
using tsDevice = tsDescribedDevice;

const char* const gpIncrementNodes =
    "<Float Name=\"Base\"><Value>1.0</Value><Min>0</Min><Max>10</Max><Inc>0.25</Inc></Float>"
    "<Float Name=\"NoIncBase\"><Value>1.0</Value></Float>"
    "<Float Name=\"OverFloat\"><pValue>Base</pValue></Float>"
    "<Float Name=\"OverOverFloat\"><pValue>OverFloat</pValue></Float>"
    "<Float Name=\"OverNoInc\"><pValue>NoIncBase</pValue></Float>"
    "<Float Name=\"OwnInc\"><pValue>Base</pValue><Inc>0.5</Inc></Float>"
    "<Integer Name=\"Steps\"><Value>4</Value><Min>1</Min><Max>100</Max><Inc>3</Inc></Integer>"
    "<Float Name=\"OverInt\"><pValue>Steps</pValue></Float>"
    "<IntReg Name=\"Raw\"><Address>0x10</Address><Length>2</Length><AccessMode>RW</AccessMode>"
    "<pPort>Device</pPort></IntReg>"
    "<Integer Name=\"RawStep\"><pValue>Raw</pValue><Inc>4</Inc></Integer>"
    "<Converter Name=\"Scaled\"><FormulaTo>FROM/0.5</FormulaTo><FormulaFrom>TO*0.5</FormulaFrom>"
    "<pValue>RawStep</pValue><IsLinear>Yes</IsLinear></Converter>"
    "<Converter Name=\"Falling\"><FormulaTo>(100-FROM)/0.25</FormulaTo><FormulaFrom>100-TO*0.25</FormulaFrom>"
    "<pValue>RawStep</pValue><IsLinear>Yes</IsLinear></Converter>"
    "<Converter Name=\"OverFloatInc\"><FormulaTo>FROM/4</FormulaTo><FormulaFrom>TO*4</FormulaFrom>"
    "<pValue>Base</pValue><IsLinear>Yes</IsLinear></Converter>"
    "<Converter Name=\"NotLinear\"><FormulaTo>FROM/0.5</FormulaTo><FormulaFrom>TO*0.5</FormulaFrom>"
    "<pValue>RawStep</pValue></Converter>";

std::string limitFloat(const char* apName, const char* apValue, const char* apMin, const char* apMax,
                       const char* apNotation, int anPrecision)
{
    return std::string("<Float Name=\"") + apName + "\"><Value>" + apValue + "</Value><Min>" + apMin +
           "</Min><Max>" + apMax + "</Max><DisplayNotation>" + apNotation +
           "</DisplayNotation><DisplayPrecision>" + std::to_string(anPrecision) +
           "</DisplayPrecision></Float>";
}
} // namespace

class tst_Floats : public QObject
{
    Q_OBJECT

private slots:
    void incrementFromValueSource_data();
    void incrementFromValueSource();
    void textAtLimitsCanBeWrittenBack_data();
    void textAtLimitsCanBeWrittenBack();
    void floatOverIntegerSnapsToSteps_data();
    void floatOverIntegerSnapsToSteps();
    void integerOverFloatBeyondRange();
};

void tst_Floats::incrementFromValueSource_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<bool>("hasInc");
    QTest::addColumn<double>("inc");
    QTest::newRow("over a float") << "OverFloat" << true << 0.25;
    QTest::newRow("over a float over a float") << "OverOverFloat" << true << 0.25;
    QTest::newRow("over a float without increment") << "OverNoInc" << false << 0.0;
    QTest::newRow("own increment first") << "OwnInc" << true << 0.5;
    QTest::newRow("over an integer") << "OverInt" << true << 3.0;
    QTest::newRow("linear converter") << "Scaled" << true << 2.0;
    QTest::newRow("falling linear converter") << "Falling" << true << 1.0;
    QTest::newRow("linear converter over a float") << "OverFloatInc" << true << 1.0;
    QTest::newRow("converter not declared linear") << "NotLinear" << false << 0.0;
}

void tst_Floats::incrementFromValueSource()
{
    QFETCH(QString, node);
    QFETCH(bool, hasInc);
    QFETCH(double, inc);
    tsDevice cDevice(gpIncrementNodes);
    CFloatPtr pFloat = cDevice.node(node.toLatin1().constData());
    QVERIFY(pFloat.IsValid());
    QCOMPARE(pFloat->HasInc(), hasInc);
    QCOMPARE(pFloat->GetIncMode(), hasInc ? fixedIncrement : noIncrement);
    if (hasInc)
        QCOMPARE(pFloat->GetInc(), inc);
    else
        QVERIFY_EXCEPTION_THROWN(pFloat->GetInc(), GenICam::RuntimeException);
}

void tst_Floats::textAtLimitsCanBeWrittenBack_data()
{
    QTest::addColumn<QString>("notation");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("fixed at max") << "Fixed" << 4 << "-2.71828"
                                  << "2.71828"
                                  << "2.71828"
                                  << "2.7182";
    QTest::newRow("fixed at min") << "Fixed" << 4 << "-2.71828"
                                  << "2.71828"
                                  << "-2.71828"
                                  << "-2.7182";
    QTest::newRow("fixed inside") << "Fixed" << 4 << "-2.71828"
                                  << "2.71828"
                                  << "1.23456"
                                  << "1.2346";
    QTest::newRow("automatic at max") << "Automatic" << 6 << "0"
                                      << "123456.789"
                                      << "123456.789"
                                      << "123456";
    QTest::newRow("automatic at min") << "Automatic" << 3 << "0.123456789"
                                      << "1"
                                      << "0.123456789"
                                      << "0.124";
    QTest::newRow("automatic at max, decade below") << "Automatic" << 6 << "0"
                                                    << "9999999.9"
                                                    << "9999999.9"
                                                    << "9.99999e+06";
    QTest::newRow("scientific at max") << "Scientific" << 2 << "0"
                                       << "0.0012378"
                                       << "0.0012378"
                                       << "1.23e-03";
    QTest::newRow("fixed at max, no decimals") << "Fixed" << 0 << "0"
                                               << "9.7"
                                               << "9.7"
                                               << "9";
}

void tst_Floats::textAtLimitsCanBeWrittenBack()
{
    QFETCH(QString, notation);
    QFETCH(int, precision);
    QFETCH(QString, min);
    QFETCH(QString, max);
    QFETCH(QString, value);
    QFETCH(QString, text);
    tsDevice cDevice(limitFloat("F", value.toLatin1().constData(), min.toLatin1().constData(),
                                max.toLatin1().constData(), notation.toLatin1().constData(), precision));
    CFloatPtr pFloat = cDevice.node("F");
    const gcstring sShown = pFloat->ToString();
    QCOMPARE(QString(sShown.c_str()), text);
    // What a user copies from the tree is accepted.
    pFloat->FromString(sShown);
    QCOMPARE(QString(pFloat->ToString().c_str()), text);
}

void tst_Floats::floatOverIntegerSnapsToSteps_data()
{
    QTest::addColumn<double>("written");
    QTest::addColumn<int64_t>("stored");
    QTest::newRow("down to the step below") << 2.4 << int64_t(1);
    QTest::newRow("up to the step above") << 2.6 << int64_t(4);
    QTest::newRow("on a step") << 7.0 << int64_t(7);
    QTest::newRow("at the minimum") << 1.0 << int64_t(1);
    QTest::newRow("not beyond a maximum off the steps") << 98.9 << int64_t(97);
}

void tst_Floats::floatOverIntegerSnapsToSteps()
{
    QFETCH(double, written);
    QFETCH(int64_t, stored);
    tsDevice cDevice("<Integer Name=\"Steps\"><Value>4</Value><Min>1</Min><Max>99</Max><Inc>3</Inc></Integer>"
                     "<Float Name=\"F\"><pValue>Steps</pValue></Float>");
    CFloatPtr pFloat = cDevice.node("F");
    pFloat->SetValue(written); // verified: no OutOfRangeException
    QCOMPARE(CIntegerPtr(cDevice.node("Steps"))->GetValue(), stored);
    QCOMPARE(pFloat->GetValue(), static_cast<double>(stored));
    // Outside the range the write is still refused.
    QVERIFY_EXCEPTION_THROWN(pFloat->SetValue(100.0), GenICam::OutOfRangeException);
}

void tst_Floats::integerOverFloatBeyondRange()
{
    tsDevice cDevice("<Float Name=\"Big\"><Value>1e15</Value></Float>"
                     "<Integer Name=\"AsInt\"><pValue>Big</pValue><Min>0</Min><Max>10</Max></Integer>");
    CFloatPtr pFloat = cDevice.node("Big");
    CIntegerPtr pInteger = cDevice.node("AsInt");
    QCOMPARE(pInteger->GetValue(), int64_t(1000000000000000));
    // No clamping to the 64-bit limits: that would be a wrong value.
    for (double dValue : {1e20, -1e20, 9223372036854775808.0})
    {
        pFloat->SetValue(dValue);
        QVERIFY_EXCEPTION_THROWN(pInteger->GetValue(), GenICam::RuntimeException);
    }
    pFloat->SetValue(-9223372036854775808.0);
    QCOMPARE(pInteger->GetValue(), INT64_MIN);
}

QTEST_APPLESS_MAIN(tst_Floats)
#include "tst_floats.moc"
