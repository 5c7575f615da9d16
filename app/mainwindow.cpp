#include "mainwindow.h"

#include "pluginmanager.h"

#include <QApplication>
#include <QDebug>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

MainWindow::MainWindow(bool abInternal, QWidget* apParent)
    : QMainWindow(apParent), tcDebugSource(QCoreApplication::applicationName()), mbInternal(abInternal)
{
    debugMinLevel(1);
    setWindowIcon(QIcon(QStringLiteral(":/images/resouces/icon.png")));
    setWindowTitle(QCoreApplication::applicationName());
    statusBar();
    createHelpMenu();

    tcPluginManager* lpPlugins = tcPluginManager::getInstance();
    connect(lpPlugins, &tcPluginManager::Message, this, &MainWindow::flashMessage);
    connect(lpPlugins, &tcPluginManager::Error, this, &MainWindow::flashError);
    lpPlugins->loadPlugins(this, QString());
    lpPlugins->setCamera(nullptr);
}

MainWindow::~MainWindow()
{
    tcPluginManager* lpPlugins = tcPluginManager::getInstance();
    disconnect(lpPlugins, nullptr, this, nullptr);
    lpPlugins->unloadPlugins();
}

void MainWindow::createHelpMenu()
{
    QMenu* lpHelp = menuBar()->addMenu(tr("Help"));
    lpHelp->setObjectName(QStringLiteral("menuHelp"));
    QAction* lpPlugins = lpHelp->addAction(tr("Plugins..."), this, &MainWindow::slot_showPlugins);
    lpPlugins->setObjectName(QStringLiteral("actionPlugins"));
}

void MainWindow::slot_showPlugins()
{
    tcPluginManager::getInstance()->aboutPlugins();
}

void MainWindow::flashMessage(const QString& arMessage)
{
    if (GetDbgLevel() >= 1)
        qDebug() << "MainWindow::flashMessage"
                 << "[" << getName() << 1 << "]" << arMessage;
    showTransient(arMessage);
}

void MainWindow::flashError(const QString& arMessage)
{
    qWarning().noquote() << arMessage;
    showTransient(arMessage);
}

// On the splash while the program starts, in the status bar afterwards.
void MainWindow::showTransient(const QString& arMessage)
{
    if (mbStartingUp)
        emit splashMessage(arMessage, Qt::AlignRight, Qt::blue);
    else
        statusBar()->showMessage(arMessage, 3000);
}

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
