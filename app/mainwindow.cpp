#include "mainwindow.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>
#include <QStatusBar>

MainWindow::MainWindow(bool abInternal, QWidget* apParent)
    : QMainWindow(apParent), tcDebugSource(QCoreApplication::applicationName()), mbInternal(abInternal)
{
    debugMinLevel(1);
    setWindowIcon(QIcon(QStringLiteral(":/images/resouces/icon.png")));
    setWindowTitle(QCoreApplication::applicationName());
    statusBar();
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp()
{
    mbStartingUp = false;
}

void MainWindow::showCriticalMessage(const QString& arLine)
{
    qWarning().noquote() << arLine;
    if (mbStartingUp)
        emit splashMessage(arLine, Qt::AlignRight, Qt::blue);
    else
        statusBar()->showMessage(arLine, 3000);

    QMessageBox lcBox(QMessageBox::Warning, QCoreApplication::applicationName(), arLine, QMessageBox::Ok,
                      QApplication::activeWindow());
    lcBox.setTextFormat(Qt::RichText);
    lcBox.setWindowFlags(lcBox.windowFlags() | Qt::WindowStaysOnTopHint);
    lcBox.exec();
}
