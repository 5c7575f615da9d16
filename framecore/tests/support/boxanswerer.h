#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QObject>
#include <QThread>
#include <QTimer>

// Plays the main window's part in a script prompt: shows a real modal message
// box with the buttons and text asked for, presses the chosen button from the
// event loop, and reports the button that closed the box.
class tcBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit tcBoxAnswerer(QMessageBox::StandardButton aeAnswer) : meAnswer(aeAnswer) {}

    QMessageBox::StandardButton meAnswer;
    int mnShown = 0;
    QMessageBox::StandardButtons mnButtons;
    QString msText;
    QThread* mpThread = nullptr;

signals:
    void answered(QMessageBox::StandardButtons anButton);

public slots:
    void show(QMessageBox::StandardButtons anButtons, QString arText)
    {
        ++mnShown;
        mnButtons = anButtons;
        msText = arText;
        mpThread = QThread::currentThread();
        QMessageBox lcBox(QMessageBox::Question, QStringLiteral("Script"), arText, anButtons);
        QTimer::singleShot(10, &lcBox,
                           [this, &lcBox]
                           {
                               if (QAbstractButton* lpButton = lcBox.button(meAnswer))
                                   lpButton->click();
                           });
        lcBox.exec();
        emit answered(lcBox.standardButton(lcBox.clickedButton()));
    }
};
