#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Tests of windows that ask the user: the next modal dialog of a kind is
// handled from the event loop as soon as it shows, so the real box
// runs and the test plays the user's part.
namespace tnModal
{
// Waits at most half a minute (a loaded machine is slow to build a file
// dialog), and no longer than apContext lives: a test that expects no dialog
// gives a context that dies with it.
template <typename tDialog>
void onNext(std::function<void(tDialog*)> afHandle, QObject* apContext = qApp,
            QDeadlineTimer acDeadline = QDeadlineTimer(30000))
{
    QTimer::singleShot(10, apContext,
                       [afHandle, apContext, acDeadline]
                       {
                           if (auto* lpDialog = qobject_cast<tDialog*>(QApplication::activeModalWidget()))
                               afHandle(lpDialog);
                           else if (!acDeadline.hasExpired())
                               onNext<tDialog>(afHandle, apContext, acDeadline);
                       });
}

// Presses the button in the next message box; its text goes to apText.
inline void answerBox(QMessageBox::StandardButton aeButton, QString* apText = nullptr, int* apCount = nullptr,
                      QObject* apContext = qApp)
{
    onNext<QMessageBox>(
        [aeButton, apText, apCount](QMessageBox* apBox)
        {
            if (apText)
                *apText = apBox->text();
            if (apCount)
                ++*apCount;
            apBox->button(aeButton)->click();
        },
        apContext);
}

} // namespace tnModal
