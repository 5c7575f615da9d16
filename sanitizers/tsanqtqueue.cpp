// Linked into every test of the thread sanitizer build (see
// cmake/KestrixTesting.cmake). Qt is not built with the sanitizer, so the lock
// under which a queued call is handed from the emitting thread to the
// receiving one is invisible to it, and every value that a queued slot reads
// would be reported as raced by the thread that wrote it before emitting.
// This tells the sanitizer about that hand-over instead of suppressing the
// reports: a signal's emission releases, keyed by the sending object, and the
// delivery of a queued call from that object acquires.
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

#include <dlfcn.h>

extern "C" void __tsan_acquire(void* apAddress);
extern "C" void __tsan_release(void* apAddress);

// Qt's signal spy hook, declared by Qt in a private header only.
struct QSignalSpyCallbackSet
{
    typedef void (*BeginCallback)(QObject* caller, int signal_or_method_index, void** argv);
    typedef void (*EndCallback)(QObject* caller, int signal_or_method_index);
    BeginCallback signal_begin_callback, slot_begin_callback;
    EndCallback signal_end_callback, slot_end_callback;
};
Q_CORE_EXPORT void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet* callback_set);

namespace
{
// Where Qt 5.15 keeps the sender in its queued-call event, right after the
// QEvent part (see QMetaCallEvent's constructor).
constexpr size_t kSenderOffset = 24;

void onEmit(QObject* apSender, int, void**)
{
    __tsan_release(apSender);
}

// Called by Qt before it delivers any event, in the receiving thread.
bool onDelivery(void** apData)
{
    const auto* lpEvent = static_cast<const QEvent*>(apData[1]);
    if (lpEvent && lpEvent->type() == QEvent::MetaCall)
    {
        const auto* lpBytes = reinterpret_cast<const char*>(lpEvent);
        if (QObject* lpSender = *reinterpret_cast<QObject* const*>(lpBytes + kSenderOffset))
            __tsan_acquire(lpSender);
    }
    return false; // deliver as usual
}

QSignalSpyCallbackSet gcCallbacks = {onEmit, nullptr, nullptr, nullptr};

void installHandOver()
{
    static_assert(QT_VERSION_MAJOR == 5, "the queued-call event layout is Qt 5's");
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
