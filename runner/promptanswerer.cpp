#include "promptanswerer.h"

#include "linemonitor.h"

#include <QMetaEnum>

#include <cstdio>

namespace
{
// In the order a person would look for them.
const QMessageBox::StandardButton kYesButtons[] = {
    QMessageBox::Yes,  QMessageBox::YesToAll, QMessageBox::Ok,    QMessageBox::Save,  QMessageBox::SaveAll,
    QMessageBox::Open, QMessageBox::Apply,    QMessageBox::Retry, QMessageBox::Ignore};
const QMessageBox::StandardButton kNoButtons[] = {QMessageBox::No,     QMessageBox::NoToAll,
                                                  QMessageBox::Cancel, QMessageBox::Abort,
                                                  QMessageBox::Close,  QMessageBox::Discard};

template <size_t N>
QMessageBox::StandardButton firstOffered(QMessageBox::StandardButtons anButtons,
                                         const QMessageBox::StandardButton (&arOrder)[N])
{
    for (QMessageBox::StandardButton lnButton : arOrder)
        if (anButtons.testFlag(lnButton))
            return lnButton;
    return QMessageBox::NoButton;
}
} // namespace

tcPromptAnswerer::tcPromptAnswerer(tcRunOptions::teAnswer aeAnswer, tcLineMonitor& arMonitor,
                                   QObject* apParent)
    : QObject(apParent), meAnswer(aeAnswer), mrMonitor(arMonitor)
{
}

QMessageBox::StandardButton tcPromptAnswerer::choose(QMessageBox::StandardButtons anButtons, bool abYes)
{
    const QMessageBox::StandardButtons lnOffered =
        anButtons &
        QMessageBox::StandardButtons((QMessageBox::LastButton * 2 - 1) & ~(QMessageBox::FirstButton - 1));
    if (!lnOffered)
        return QMessageBox::Ok;
    const QMessageBox::StandardButton lnButton =
        abYes ? firstOffered(lnOffered, kYesButtons) : firstOffered(lnOffered, kNoButtons);
    if (lnButton != QMessageBox::NoButton)
        return lnButton;
    // None of the kind asked for: the box can only be closed with one it offers.
    for (int lnBit = QMessageBox::FirstButton; lnBit <= QMessageBox::LastButton; lnBit <<= 1)
        if (lnOffered.testFlag(static_cast<QMessageBox::StandardButton>(lnBit)))
            return static_cast<QMessageBox::StandardButton>(lnBit);
    return QMessageBox::Ok;
}

QString tcPromptAnswerer::buttonName(QMessageBox::StandardButton anButton)
{
    const QMetaObject& lrMeta = QMessageBox::staticMetaObject;
    const QMetaEnum lcEnum = lrMeta.enumerator(lrMeta.indexOfEnumerator("StandardButtons"));
    const char* lpName = lcEnum.valueToKey(anButton);
    return lpName ? QString::fromLatin1(lpName) : QString::number(anButton);
}

void tcPromptAnswerer::showMessageBox(QMessageBox::StandardButtons anButtons, QString arMsg)
{
    const QString lsText = arMsg.trimmed();
    if (meAnswer == tcRunOptions::eNoAnswer)
    {
        std::fprintf(stderr,
                     "kestrix-run: PROMPT: %s\nkestrix-run: no answer given (run with --answer yes or no)\n",
                     qUtf8Printable(lsText));
        std::fflush(stderr);
        mrMonitor.refuseCurrentLine(
            QStringLiteral("No answer: run kestrix-run with --answer yes or --answer no"));
        emit answered(QMessageBox::NoButton);
        return;
    }
    const QMessageBox::StandardButton lnButton = choose(anButtons, meAnswer == tcRunOptions::eAnswerYes);
    std::fprintf(stderr, "kestrix-run: PROMPT: %s\nkestrix-run: answered %s\n", qUtf8Printable(lsText),
                 qUtf8Printable(buttonName(lnButton)));
    std::fflush(stderr);
    emit answered(lnButton);
}
