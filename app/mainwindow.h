#pragma once

#include "debugsource.h"

#include <QColor>
#include <QMainWindow>

// The program's main window. It receives critical messages from any thread
// (queued by the log handler) and shows them to the user, and it loads the
// plugins when it is built and unloads them when it goes.
class MainWindow : public QMainWindow, public tcDebugSource
{
    Q_OBJECT

public:
    explicit MainWindow(bool abInternal, QWidget* apParent = nullptr);
    ~MainWindow() override;

    // Runs once after construction, while the splash is still up.
    void startUp();

    bool isInternalUser() const { return mbInternal; }

public slots:
    void showCriticalMessage(const QString& arLine);
    void flashMessage(const QString& arMessage);
    void flashError(const QString& arMessage);
    void slot_showPlugins();

signals:
    void splashMessage(const QString& arMessage, int anAlignment, const QColor& arColor);

private:
    void createHelpMenu();
    void showTransient(const QString& arMessage);

    bool mbInternal;
    bool mbStartingUp = true;
};
