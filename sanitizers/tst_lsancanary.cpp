// Built in the address sanitizer build only; see CMakeLists.txt. The test
// itself passes; CTest demands the leak checker's report of the block below.
#include <QTimer>
#include <QtTest>

namespace
{
int* volatile gpLost = nullptr;

// Out of line, so that the report names it right below the allocation.
Q_NEVER_INLINE void loseOneBlock()
{
    gpLost = new int[12];
    gpLost = nullptr;
}
} // namespace

class tst_LsanCanary : public QObject
{
    Q_OBJECT

private slots:
    void blockLostInTimerSlot()
    {
        bool lbDone = false;
        QTimer::singleShot(0, this,
                           [&lbDone]
                           {
                               loseOneBlock();
                               lbDone = true;
                           });
        QTRY_VERIFY(lbDone);
    }
};

// A GUI application, so that timers run through the platform plugin's own
// event dispatcher as in every window test.
QTEST_MAIN(tst_LsanCanary)
#include "tst_lsancanary.moc"
