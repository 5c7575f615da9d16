#pragma once

#include <QString>

// What the command line asks of the program. Scanned before the application
// object exists, so Qt's own options pass through untouched.
struct tcStartupOptions
{
    bool mbInternal = false;
    bool mbAddThreadId = false;
    QString msIniPath;
    QString msLogPath;

    // Fills the default INI and log paths; scanning may replace them.
    static tcStartupOptions withDefaultPaths();
    void scan(int anArgc, char** apArgv);
};
