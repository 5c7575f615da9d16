#include "junitreport.h"

#include <QSaveFile>
#include <QSysInfo>
#include <QXmlStreamWriter>

#include <algorithm>

namespace
{
QString seconds(double anSeconds)
{
    return QString::number(anSeconds, 'f', 6);
}

void writeOutcome(QXmlStreamWriter& arXml, const tcJUnitCase& arCase)
{
    const char* const kElements[] = {"", "failure", "skipped", "error"};
    if (arCase.meOutcome == tcJUnitCase::ePassed)
        return;
    arXml.writeStartElement(QLatin1String(kElements[arCase.meOutcome]));
    arXml.writeAttribute(QStringLiteral("message"), arCase.msMessage);
    if (arCase.meOutcome != tcJUnitCase::eSkipped)
    {
        arXml.writeAttribute(QStringLiteral("type"), arCase.meOutcome == tcJUnitCase::eFailed
                                                         ? QStringLiteral("ScriptFailure")
                                                         : QStringLiteral("Error"));
        arXml.writeCharacters(arCase.msDetail);
    }
    arXml.writeEndElement();
}
} // namespace

tcJUnitReport::tcJUnitReport(const QString& arSuite)
    : msSuite(arSuite), mcStarted(QDateTime::currentDateTime())
{
}

int tcJUnitReport::count(tcJUnitCase::teOutcome aeOutcome) const
{
    return static_cast<int>(std::count_if(mcCases.cbegin(), mcCases.cend(),
                                          [aeOutcome](const tcJUnitCase& arCase)
                                          { return arCase.meOutcome == aeOutcome; }));
}

QByteArray tcJUnitReport::xml() const
{
    QByteArray lcData;
    QXmlStreamWriter lcXml(&lcData);
    lcXml.setAutoFormatting(true);
    lcXml.writeStartDocument();
    lcXml.writeStartElement(QStringLiteral("testsuites"));
    lcXml.writeAttribute(QStringLiteral("name"), QStringLiteral("kestrix-run"));
    lcXml.writeAttribute(QStringLiteral("tests"), QString::number(mcCases.size()));
    lcXml.writeAttribute(QStringLiteral("failures"), QString::number(count(tcJUnitCase::eFailed)));
    lcXml.writeAttribute(QStringLiteral("errors"), QString::number(count(tcJUnitCase::eError)));
    lcXml.writeAttribute(QStringLiteral("time"), seconds(mnSeconds));

    lcXml.writeStartElement(QStringLiteral("testsuite"));
    lcXml.writeAttribute(QStringLiteral("name"), msSuite);
    lcXml.writeAttribute(QStringLiteral("tests"), QString::number(mcCases.size()));
    lcXml.writeAttribute(QStringLiteral("failures"), QString::number(count(tcJUnitCase::eFailed)));
    lcXml.writeAttribute(QStringLiteral("errors"), QString::number(count(tcJUnitCase::eError)));
    lcXml.writeAttribute(QStringLiteral("skipped"), QString::number(count(tcJUnitCase::eSkipped)));
    lcXml.writeAttribute(QStringLiteral("time"), seconds(mnSeconds));
    lcXml.writeAttribute(QStringLiteral("timestamp"), mcStarted.toString(Qt::ISODate));
    lcXml.writeAttribute(QStringLiteral("hostname"), QSysInfo::machineHostName());
    for (const tcJUnitCase& lrCase : mcCases)
    {
        lcXml.writeStartElement(QStringLiteral("testcase"));
        lcXml.writeAttribute(QStringLiteral("name"), lrCase.msName);
        lcXml.writeAttribute(QStringLiteral("classname"), msSuite);
        lcXml.writeAttribute(QStringLiteral("time"), seconds(lrCase.mnSeconds));
        writeOutcome(lcXml, lrCase);
        if (!lrCase.msOutput.isEmpty())
            lcXml.writeTextElement(QStringLiteral("system-out"), lrCase.msOutput);
        lcXml.writeEndElement();
    }
    lcXml.writeEndElement();
    lcXml.writeEndElement();
    lcXml.writeEndDocument();
    return lcData;
}

bool tcJUnitReport::write(const QString& arFileName, QString& arError) const
{
    QSaveFile lcFile(arFileName);
    if (!lcFile.open(QIODevice::WriteOnly) || lcFile.write(xml()) < 0 || !lcFile.commit())
    {
        arError = QStringLiteral("Unable to write JUnit report %1: %2").arg(arFileName, lcFile.errorString());
        return false;
    }
    return true;
}
