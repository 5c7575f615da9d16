#pragma once

#include "runoptions.h"

#include <QMessageBox>
#include <QObject>

class tcLineMonitor;

// Answers the command runner's message boxes without showing any: with the
// answer given on the command line, or by refusing the line that asked, so a
// script never waits for a person who is not there. The box's text goes to
// standard error, where a user of the program would have read it.
class tcPromptAnswerer : public QObject
{
    Q_OBJECT

public:
    tcPromptAnswerer(tcRunOptions::teAnswer aeAnswer, tcLineMonitor& arMonitor, QObject* apParent = nullptr);

    // The button a person answering yes or no would press in a box offering
    // these buttons (none offered: the box shows OK).
    static QMessageBox::StandardButton choose(QMessageBox::StandardButtons anButtons, bool abYes);
    static QString buttonName(QMessageBox::StandardButton anButton);

signals:
    void answered(QMessageBox::StandardButtons anButton);

public slots:
    void showMessageBox(QMessageBox::StandardButtons anButtons, QString arMsg);

private:
    tcRunOptions::teAnswer meAnswer;
    tcLineMonitor& mrMonitor;
};
