// Built in the thread sanitizer build only; see CMakeLists.txt. The other side
// of the canary: hand-overs that are correct must not be reported. Each case
// forces the order that made a false report before the model knew of it; any
// report fails the test through the sanitizer's exit code.
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <thread>

class tcTextReceiver : public QObject
{
    Q_OBJECT

public:
    QSemaphore* mpGate = nullptr;
    int mnLength = -1;

public slots:
    void onText(const QString& arText)
    {
        // Read here, in code the sanitizer sees, not inside Qt's library.
        int lnLength = 0;
        for (const QChar lcChar : arText)
            lnLength += lcChar.isNull() ? 0 : 1;
        mnLength = lnLength;
        // Opened only once this call, and the copy Qt made for it, are gone.
        QTimer::singleShot(0, this, [this] { mpGate->release(); });
    }
};

class tcTextSender : public QObject
{
    Q_OBJECT

signals:
    void text(const QString& arText);
};

class tst_TsanHandOver : public QObject
{
    Q_OBJECT

private slots:
    // The sending thread drops the last reference to a text after the slot
    // has read it and Qt has destroyed its own copy: the sender frees it. The
    // gate is a QSemaphore, whose locking the sanitizer cannot see, so only
    // the model orders the read before the free.
    void senderFreesTextAfterTheSlotRead()
    {
        tcTextSender lcSender;
        tcTextReceiver lcReceiver;
        QSemaphore lcGate;
        lcReceiver.mpGate = &lcGate;
        connect(&lcSender, &tcTextSender::text, &lcReceiver, &tcTextReceiver::onText, Qt::QueuedConnection);
        std::thread lcWorker(
            [&]
            {
                QString lsText = QStringLiteral("frame %1 of %2").arg(7).arg(9);
                emit lcSender.text(lsText);
                lcGate.acquire();
            }); // the text is freed here, in the worker
        QTRY_VERIFY(lcReceiver.mnLength > 0);
        lcWorker.join();
        QCOMPARE(lcReceiver.mnLength, 12);
    }
};

QTEST_GUILESS_MAIN(tst_TsanHandOver)
#include "tst_tsanhandover.moc"
