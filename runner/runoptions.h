#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// What the command line of kestrix-run asks for. Parsing never exits the
// program: a bad line gives an error text and the caller decides.
class tcRunOptions
{
public:
    enum teAnswer
    {
        eNoAnswer,
        eAnswerYes,
        eAnswerNo
    };

    // The arguments as the program got them, the program name first.
    bool parse(const QStringList& arArguments);
    QString errorText() const { return msError; }
    static QString usage();

    QString msProducer;
    QString msInterface;
    QString msDeviceId;
    int mnDeviceIndex = -1;
    QString msIniFile;
    QList<QPair<QString, QString>> mcVariables;
    teAnswer meAnswer = eNoAnswer;
    QString msJUnitFile;
    QString msLogFile;
    QString msScript;
    bool mbList = false;
    bool mbHelp = false;
    bool mbVersion = false;

private:
    bool fail(const QString& arError);
    bool takeDevice(const QString& arValue);
    bool takeDeviceIndex(const QString& arValue);
    bool takeVariable(const QString& arValue);
    bool takeAnswer(const QString& arValue);

    QString msError;
};
