// Linked into every test of the thread sanitizer build (see
// cmake/KestrixTesting.cmake). Qt is not built with the sanitizer, so the lock
// under which a queued call is handed from the emitting thread to the
// receiving one is invisible to it, and every value that a queued slot reads
// would be reported as raced by the thread that wrote it before emitting.
// This tells the sanitizer about that hand-over instead of suppressing the
// reports: a signal's emission releases, keyed by the sending object, and the
// delivery of a queued call from that object acquires.
//
// The way back is modelled too. A queued QString (or another of Qt's
// implicitly shared values) is copied and destroyed inside Qt, so the
// reference count that orders the slot's reads before the emitting thread
// frees the text is invisible when the slot's copy goes first. After the slot
// returns, the receiving thread releases on each such argument's shared data,
// which the emitting thread's own (instrumented) release of its reference
// acquires.
//
// The same holds for the end of a thread: QThread::wait() returns under a
// lock of Qt's, so everything the thread did before its finished() emission
// is ordered before the return of wait() here (calls from our code reach this
// definition before Qt's own; see cmake/KestrixTesting.cmake).
//
// What this cannot see: a queued call without a sender (invokeMethod) orders
// nothing, and a delivery orders everything its sender wrote before its most
// recent emission, not only before the one delivered. A write after the
// sender's last emission stays unordered, so a slot racing the emitting
// thread is still reported (sanitizers/tst_tsancanary proves it).
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>
#include <QtGlobal>
#include <QtCore/private/qobject_p.h>

#include <dlfcn.h>

extern "C" void __tsan_acquire(void* apAddress);
extern "C" void __tsan_release(void* apAddress);

namespace
{
void onEmit(QObject* apSender, int, void**)
{
    __tsan_release(apSender);
}

// Qt's values whose copies share one block that starts with its atomic
// reference count: a QString, a QByteArray, a QList or a QMap holds just the
// pointer to it.
bool sharesCountedData(int anType)
{
    switch (anType)
    {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QStringList:
    case QMetaType::QByteArrayList:
    case QMetaType::QVariantList:
    case QMetaType::QVariantMap:
        return true;
    default:
        return false;
    }
}

// The number of arguments a queued call holds, which Qt keeps private. Its
// call data follows the event's base part: slot object, argument pointers,
// call function, count. The argument pointers found there prove the layout.
int argumentCount(const QMetaCallEvent& arCall)
{
    const char* lpData = reinterpret_cast<const char*>(&arCall) + sizeof(QAbstractMetaCallEvent);
    if (*reinterpret_cast<const void* const* const*>(lpData + sizeof(void*)) != arCall.args())
        qFatal("tsanqtqueue: this Qt lays out its queued calls differently; update argumentCount()");
    return *reinterpret_cast<const int*>(lpData + 3 * sizeof(void*));
}

void releaseSharedArguments(QEvent* apEvent)
{
    auto* lpCall = dynamic_cast<QMetaCallEvent*>(apEvent);
    if (!lpCall || !lpCall->args())
        return;
    // Argument 0 is the return value; the types follow the argument pointers.
    const int lnCount = argumentCount(*lpCall);
    for (int lnArg = 1; lnArg < lnCount; ++lnArg)
        if (lpCall->args()[lnArg] && sharesCountedData(lpCall->types()[lnArg]))
            __tsan_release(*static_cast<void**>(lpCall->args()[lnArg]));
}

// The queued call this thread is delivering itself, from inside the hook.
thread_local QEvent* gpRedelivered = nullptr;

// Called by Qt before it delivers any event, in the receiving thread. A queued
// call is delivered here, through Qt's usual path, so that the hook can
// release once the slot has returned; the nested pass goes through untouched.
bool onDelivery(void** apData)
{
    auto* lpReceiver = static_cast<QObject*>(apData[0]);
    auto* lpEvent = static_cast<QEvent*>(apData[1]);
    if (!lpEvent || lpEvent->type() != QEvent::MetaCall || lpEvent == gpRedelivered)
        return false; // deliver as usual
    if (const QObject* lpSender = static_cast<QAbstractMetaCallEvent*>(lpEvent)->sender())
        __tsan_acquire(const_cast<QObject*>(lpSender));

    QEvent* const lpOuter = gpRedelivered;
    gpRedelivered = lpEvent;
    *static_cast<bool*>(apData[2]) = QCoreApplication::sendEvent(lpReceiver, lpEvent);
    gpRedelivered = lpOuter;
    releaseSharedArguments(lpEvent);
    return true; // delivered
}

QSignalSpyCallbackSet gcCallbacks = {onEmit, nullptr, nullptr, nullptr};

void installHandOver()
{
    static_assert(QT_VERSION_MAJOR == 5, "the queued-call event layout is Qt 5's");
    // Qt keeps its callbacks across application objects, and a program (or a
    // test) may make several one after the other: a second registration
    // would deliver every queued call twice.
    static bool sbInstalled = false;
    if (sbInstalled)
        return;
    sbInstalled = true;
    qt_register_signal_spy_callbacks(&gcCallbacks);
    QInternal::registerCallback(QInternal::EventNotifyCallback, onDelivery);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(installHandOver)

namespace
{
// Qt's own wait(), found behind this definition.
template <typename taTimeout> bool qtWait(QThread* apThread, taTimeout aTimeout, const char* apSymbol)
{
    using tfWait = bool (*)(QThread*, taTimeout);
    const auto lfWait = reinterpret_cast<tfWait>(dlsym(RTLD_NEXT, apSymbol));
    const bool lbEnded = lfWait(apThread, aTimeout);
    if (lbEnded)
        __tsan_acquire(apThread);
    return lbEnded;
}
} // namespace

bool QThread::wait(QDeadlineTimer aDeadline)
{
    return qtWait(this, aDeadline, "_ZN7QThread4waitE14QDeadlineTimer");
}

bool QThread::wait(unsigned long anTime)
{
    return qtWait(this, anTime, "_ZN7QThread4waitEm");
}
