#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One test case of a JUnit report.
struct tcJUnitCase
{
    enum teOutcome
    {
        ePassed,
        eFailed,
        eSkipped,
        eError
    };

    QString msName;
    double mnSeconds = 0.0;
    teOutcome meOutcome = ePassed;
    QString msMessage; // one line: why it failed or was skipped
    QString msDetail;  // the failure's full text
    QString msOutput;  // what the case printed
};

// A JUnit XML report of one suite, the form CI systems read: testsuites >
// testsuite > testcase with failure, error or skipped.
class tcJUnitReport
{
public:
    explicit tcJUnitReport(const QString& arSuite);

    void add(const tcJUnitCase& arCase) { mcCases.append(arCase); }
    void setSeconds(double anSeconds) { mnSeconds = anSeconds; }
    int count(tcJUnitCase::teOutcome aeOutcome) const;

    QByteArray xml() const;
    // False with the reason when the file cannot be written.
    bool write(const QString& arFileName, QString& arError) const;

private:
    QString msSuite;
    QDateTime mcStarted;
    double mnSeconds = 0.0;
    QList<tcJUnitCase> mcCases;
};
