#include "startupoptions.h"

#include <QCoreApplication>
#include <QDebug>
#include <QStandardPaths>

#include <cstring>

namespace
{
const char* const kShortName = "kestle";
}

tcStartupOptions tcStartupOptions::withDefaultPaths()
{
    // Taken before the application object names itself, so neither path
    // carries an organization or application sub-folder.
    tcStartupOptions lcOptions;
    lcOptions.msIniPath = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
                          QStringLiteral("/%1.ini").arg(QLatin1String(kShortName));
    lcOptions.msLogPath =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
        QStringLiteral("/%1_%2.log").arg(QLatin1String(kShortName)).arg(QCoreApplication::applicationPid());
    return lcOptions;
}

void tcStartupOptions::scan(int anArgc, char** apArgv)
{
    for (int i = 1; i < anArgc; ++i)
    {
        const char* lpArg = apArgv[i];
        const bool lbHasValue = i + 1 < anArgc;
        if (std::strncmp(lpArg, "-internal", 9) == 0)
        {
            mbInternal = true;
            qInfo("Internal user selected...");
        }
        else if (std::strcmp(lpArg, "-adddbgtid") == 0)
        {
            mbAddThreadId = true;
            qInfo("Adding Task ID to debug context info...");
        }
        else if (std::strcmp(lpArg, "-logfile") == 0 && lbHasValue)
        {
            msLogPath = QString::fromUtf8(apArgv[++i]);
        }
        else if (std::strncmp(lpArg, "-inifile", 8) == 0 && lbHasValue)
        {
            msIniPath = QString::fromUtf8(apArgv[++i]);
        }
    }
}
