#pragma once

#include <QObject>

class QSocketNotifier;

// Turns Ctrl-C (SIGINT), SIGTERM and SIGHUP into a Qt signal on the thread that
// made the watcher, so the program can stop the camera in order instead of
// dying inside a GenTL call. The handlers reset themselves: a second Ctrl-C
// ends the program at once.
class tcInterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit tcInterruptWatcher(QObject* apParent = nullptr);
    ~tcInterruptWatcher() override;

    bool isActive() const { return mpNotifier != nullptr; }

signals:
    void interrupted(int anSignal);

private slots:
    void readSignal();

private:
    QSocketNotifier* mpNotifier = nullptr;
};
