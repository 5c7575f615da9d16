#include "runoptions.h"

#include <QCommandLineParser>

namespace
{
const char* const kUsage =
    "Usage: kestrix-run [--producer FILE.cti] [--device INTERFACE,DEVICE_ID | --device-index N]\n"
    "                   [--ini FILE] [--set NAME=VALUE]... [--answer yes|no] [--junit REPORT.xml]\n"
    "                   [--log FILE] [--list] SCRIPT.txt\n"
    "\n"
    "Runs a script against a camera and exits with 0 when it passed, 1 when a line\n"
    "failed or a CMP compared FAIL, 2 on a set-up error, 130 when interrupted.\n"
    "\n"
    "  --producer FILE      GenTL producer (default: default_path of the INI file,\n"
    "                       else GenTL.cti beside the program)\n"
    "  --device IF,ID       interface id (or index) and device id to open\n"
    "  --device-index N     the N-th device as numbered by --list\n"
    "  --ini FILE           settings and script variables (variables/NAME)\n"
    "  --set NAME=VALUE     script variable, overriding the INI file; repeatable\n"
    "  --answer yes|no      how every PROMPT is answered; without it a PROMPT\n"
    "                       that shows a box fails the script\n"
    "  --junit FILE         JUnit report, one test case per checking line\n"
    "  --log FILE           diagnostic log file\n"
    "  --list               print every interface and device and exit\n"
    "  --help, --version\n";
} // namespace

QString tcRunOptions::usage()
{
    return QString::fromLatin1(kUsage);
}

bool tcRunOptions::parse(const QStringList& arArguments)
{
    QCommandLineParser lcParser;
    lcParser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption lcProducer(QStringLiteral("producer"), QString(), QStringLiteral("file"));
    const QCommandLineOption lcDevice(QStringLiteral("device"), QString(), QStringLiteral("id"));
    const QCommandLineOption lcIndex(QStringLiteral("device-index"), QString(), QStringLiteral("n"));
    const QCommandLineOption lcIni(QStringLiteral("ini"), QString(), QStringLiteral("file"));
    const QCommandLineOption lcSet(QStringLiteral("set"), QString(), QStringLiteral("name=value"));
    const QCommandLineOption lcAnswer(QStringLiteral("answer"), QString(), QStringLiteral("yes|no"));
    const QCommandLineOption lcJUnit(QStringLiteral("junit"), QString(), QStringLiteral("file"));
    const QCommandLineOption lcLog(QStringLiteral("log"), QString(), QStringLiteral("file"));
    const QCommandLineOption lcList(QStringLiteral("list"));
    const QCommandLineOption lcHelp(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption lcVersion(QStringLiteral("version"));
    lcParser.addOptions(
        {lcProducer, lcDevice, lcIndex, lcIni, lcSet, lcAnswer, lcJUnit, lcLog, lcList, lcHelp, lcVersion});
    if (!lcParser.parse(arArguments))
        return fail(lcParser.errorText());

    mbHelp = lcParser.isSet(lcHelp);
    mbVersion = lcParser.isSet(lcVersion);
    mbList = lcParser.isSet(lcList);
    if (mbHelp || mbVersion)
        return true;
    msProducer = lcParser.value(lcProducer);
    msIniFile = lcParser.value(lcIni);
    msJUnitFile = lcParser.value(lcJUnit);
    msLogFile = lcParser.value(lcLog);
    if (lcParser.isSet(lcDevice) && lcParser.isSet(lcIndex))
        return fail(QStringLiteral("--device and --device-index exclude each other"));
    if (lcParser.isSet(lcDevice) && !takeDevice(lcParser.value(lcDevice)))
        return false;
    if (lcParser.isSet(lcIndex) && !takeDeviceIndex(lcParser.value(lcIndex)))
        return false;
    for (const QString& lsValue : lcParser.values(lcSet))
        if (!takeVariable(lsValue))
            return false;
    if (lcParser.isSet(lcAnswer) && !takeAnswer(lcParser.value(lcAnswer)))
        return false;

    const QStringList lsFiles = lcParser.positionalArguments();
    if (lsFiles.size() > 1)
        return fail(QStringLiteral("one script only, got: %1").arg(lsFiles.join(QLatin1Char(' '))));
    if (lsFiles.isEmpty() && !mbList)
        return fail(QStringLiteral("no script file given"));
    msScript = lsFiles.value(0);
    return true;
}

bool tcRunOptions::fail(const QString& arError)
{
    msError = arError;
    return false;
}

bool tcRunOptions::takeDevice(const QString& arValue)
{
    const int lnComma = arValue.indexOf(QLatin1Char(','));
    msInterface = arValue.left(lnComma).trimmed();
    msDeviceId = lnComma < 0 ? QString() : arValue.mid(lnComma + 1).trimmed();
    if (lnComma < 0 || msInterface.isEmpty() || msDeviceId.isEmpty())
        return fail(QStringLiteral("--device wants INTERFACE,DEVICE_ID, got \"%1\"").arg(arValue));
    return true;
}

bool tcRunOptions::takeDeviceIndex(const QString& arValue)
{
    bool lbOk = false;
    mnDeviceIndex = arValue.toInt(&lbOk);
    if (!lbOk || mnDeviceIndex < 0)
        return fail(QStringLiteral("--device-index wants a number from 0, got \"%1\"").arg(arValue));
    return true;
}

// Names become keys below "variables/" of the INI file: no group separators.
bool tcRunOptions::takeVariable(const QString& arValue)
{
    const int lnEquals = arValue.indexOf(QLatin1Char('='));
    const QString lsName = arValue.left(lnEquals);
    if (lnEquals <= 0 || lsName.contains(QLatin1Char('/')) || lsName.contains(QLatin1Char('\\')))
        return fail(QStringLiteral("--set wants NAME=VALUE, got \"%1\"").arg(arValue));
    mcVariables.append(qMakePair(lsName, arValue.mid(lnEquals + 1)));
    return true;
}

bool tcRunOptions::takeAnswer(const QString& arValue)
{
    const QString lsAnswer = arValue.toLower();
    if (lsAnswer == QLatin1String("yes"))
        meAnswer = eAnswerYes;
    else if (lsAnswer == QLatin1String("no"))
        meAnswer = eAnswerNo;
    else
        return fail(QStringLiteral("--answer wants yes or no, got \"%1\"").arg(arValue));
    return true;
}
