// Shows the sensor plugin's control widget and settings page for a look under
// a virtual display: showcontrolwidget <plugin file> [milliseconds].
#include "gentlplugin.h"
#include "settingswidget.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPluginLoader>
#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    QApplication lcApp(argc, argv);
    if (argc < 2)
        return 2;
    QPluginLoader lcLoader(QString::fromLocal8Bit(argv[1]));
    auto* lpPlugin = qobject_cast<tcGenTLPlugin*>(lcLoader.instance());
    if (!lpPlugin)
    {
        qWarning("%s", qPrintable(lcLoader.errorString()));
        return 1;
    }
    QWidget lcWindow;
    auto* lpLayout = new QHBoxLayout(&lcWindow);
    QWidget* lpControl = lpPlugin->controlWidget();
    lpControl->setEnabled(true);
    lpLayout->addWidget(lpControl);
    std::unique_ptr<tcSettingsWidget> lpPage(lpPlugin->settingsWidget());
    lpLayout->addWidget(lpPage.get());
    lcWindow.setWindowTitle(lpControl->windowTitle());
    lcWindow.show();
    QTimer::singleShot(argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3000, &lcApp,
                       &QApplication::quit);
    const int lnResult = lcApp.exec();
    lpLayout->removeWidget(lpControl);
    lpControl->setParent(nullptr);
    lpLayout->removeWidget(lpPage.get());
    lpPage->setParent(nullptr);
    lpPage.reset();
    // The plugin deletes its control widget while the application still lives.
    lcLoader.unload();
    return lnResult;
}
