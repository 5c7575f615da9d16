#include "aboutpluginsdialog.h"
#include "cmdrunner.h"
#include "filesettingswidget.h"
#include "gentlplugin.h"
#include "imagefilterinterface.h"
#include "imgdecoratorinterface.h"
#include "imgrectinterface.h"
#include "opencamera.h"
#include "pluginmanager.h"
#include "settings.h"
#include "settingswidget.h"
#include "simcamfixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace
{
// The test plugins, by the file names the build gives them.
const char* const scMono = "libkxtest_mono.so";
const char* const scAny = "libkxtest_any.so";
const char* const scThrowing = "libkxtest_throwing.so";
const char* const scOtherIid = "libkxtest_otheriid.so";
const char* const scWrongBase = "libkxtest_wrongbase.so";
const char* const scMissingDep = "libkxtest_missingdep.so";
const char* const scPlain = "libkxtest_plain.so";

// A plugin folder holding copies of the named fixtures.
class tcPluginFolder
{
public:
    explicit tcPluginFolder(const QStringList& asFiles)
    {
        for (const QString& lsFile : asFiles)
            QFile::copy(QStringLiteral(KX_FIXTURE_DIR "/") + lsFile, mcDir.filePath(lsFile));
    }
    void addText(const QString& arName)
    {
        QFile lcFile(mcDir.filePath(arName));
        if (lcFile.open(QIODevice::WriteOnly))
            lcFile.write("not a library\n");
    }
    QString path() const { return mcDir.path(); }

private:
    QTemporaryDir mcDir;
};

QStringList names(const QList<tcGenTLPlugin*>& alPlugins)
{
    QStringList lsNames;
    for (tcGenTLPlugin* lpPlugin : alPlugins)
        lsNames.append(lpPlugin->name());
    return lsNames;
}

QStringList names(const QList<tcViewerInterface*>& alPieces)
{
    QStringList lsNames;
    for (tcViewerInterface* lpPiece : alPieces)
        lsNames.append(lpPiece->name());
    return lsNames;
}

tcGenTLPlugin* pluginNamed(const QString& arName)
{
    for (tcGenTLPlugin* lpPlugin : tcPluginManager::getInstance()->getAllPlugins())
        if (lpPlugin->name() == arName)
            return lpPlugin;
    return nullptr;
}

tcPluginInfo infoOf(const QString& arClass)
{
    for (const tcPluginInfo& lcInfo : tcPluginManager::getInstance()->pluginInfos())
        if (lcInfo.msClassName == arClass)
            return lcInfo;
    return {};
}

QTreeWidgetItem* rowNamed(QTreeWidget* apList, const QString& arName)
{
    const auto lcItems = apList->findItems(arName, Qt::MatchExactly, 0);
    return lcItems.isEmpty() ? nullptr : lcItems.first();
}
} // namespace

class tst_PluginManager : public QObject
{
    Q_OBJECT

    tcPluginManager* manager() { return tcPluginManager::getInstance(); }

    std::unique_ptr<QSettings> ini() { return std::unique_ptr<QSettings>(tcSettings::getQSettings()); }

    QString runCommand(const QString& arLine)
    {
        tcCmdRunner* lpRunner = manager()->getCmdRunner();
        if (!lpRunner->ProcessCommand(arLine))
            return QStringLiteral("<failed>");
        return lpRunner->getLastResult().toString();
    }

private slots:
    // The line edit's clear button fades in with an animation of its own that
    // deletes itself when done; let the last ones finish before the program
    // ends so that leak checks see nothing in flight.
    void cleanupTestCase() { QTest::qWait(300); }

    void initTestCase()
    {
        tcSimcamFixture::useTemporarySettings();
        QVERIFY(QFile::exists(QStringLiteral(KX_FIXTURE_DIR "/") + scMono));
    }

    void init() { ini()->remove(QStringLiteral("Plugins")); }

    void cleanup() { manager()->unloadPlugins(); }

    void discoverySkipsWhatIsNoPlugin()
    {
        tcPluginFolder lcFolder({scMono, scAny, scOtherIid, scWrongBase, scMissingDep, scPlain});
        lcFolder.addText(QStringLiteral("README.txt"));
        QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
        QSignalSpy lcChanged(manager(), &tcPluginManager::pluginsChanged);

        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(manager()->getPluginsDir(), lcFolder.path());

        QStringList lsErrors;
        for (const QList<QVariant>& lcArgs : lcErrors)
            lsErrors.append(lcArgs.at(0).toString());
        auto errorAbout = [&](const QString& arFile)
        {
            QStringList lsHits;
            for (const QString& lsError : lsErrors)
                if (lsError.contains(arFile))
                    lsHits.append(lsError);
            return lsHits;
        };
        QCOMPARE(errorAbout("README.txt").count(), 1);
        QVERIFY(errorAbout("README.txt").first().contains("not a plugin library"));
        QCOMPARE(errorAbout(scPlain).count(), 1);
        QVERIFY(errorAbout(scPlain).first().contains("not a plugin"));
        QCOMPARE(errorAbout(scOtherIid).count(), 1);
        QVERIFY(errorAbout(scOtherIid).first().contains("com.example.Other.1"));
        QCOMPARE(errorAbout(scWrongBase).count(), 1);
        QVERIFY(errorAbout(scWrongBase).first().contains("does not derive from tcGenTLPlugin"));
        QCOMPARE(errorAbout(scMissingDep).count(), 1);
        QVERIFY2(errorAbout(scMissingDep).first().contains("kxtest_gone"), qPrintable(errorAbout(scMissingDep).first()));
        QCOMPARE(lsErrors.count(), 5);
        QCOMPARE(manager()->skippedFiles().count(), 3);

        // The monochrome plugin is enabled by default, the other one is not.
        QCOMPARE(names(manager()->getAllPlugins()), QStringList{"Mono Test"});
        const tcPluginInfo lcAny = infoOf("tcAnyTestPlugin");
        QVERIFY(lcAny.mbLoaded);
        QVERIFY(!lcAny.mbEnabled);
        QCOMPARE(lcAny.msName, QStringLiteral("Any Test"));
        QCOMPARE(lcAny.msVersion, QStringLiteral("0.1"));
        const tcPluginInfo lcMissing = infoOf("tcMissingDepPlugin");
        QVERIFY(!lcMissing.mbLoaded);
        QVERIFY(lcMissing.msProblem.contains("kxtest_gone"));

        // Without a camera the monochrome plugin is not active.
        QCOMPARE(lcChanged.count(), 1);
        QVERIFY(lcChanged.at(0).at(0).value<QList<tcGenTLPlugin*>>().isEmpty());

        // Still usable afterwards.
        tcOpenCamera lcCamera("SimCam-Mono-0001");
        QVERIFY(lcCamera.mbOpen);
        QCOMPARE(manager()->setCamera(&lcCamera.mcCamera), 1);
        QCOMPARE(runCommand("MONOCMD"), QStringLiteral("mono"));
        manager()->setCamera(nullptr);
    }

    void secondCopyOfAPluginIsSkipped()
    {
        tcPluginFolder lcFolder({scMono});
        QVERIFY(QFile::copy(QStringLiteral(KX_FIXTURE_DIR "/") + scMono, lcFolder.path() + "/libzz_copy.so"));
        QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(lcErrors.count(), 1);
        const QString lsError = lcErrors.at(0).at(0).toString();
        QVERIFY2(lsError.contains("libzz_copy.so") && lsError.contains("already loaded from") &&
                     lsError.contains(scMono),
                 qPrintable(lsError));
        QCOMPARE(names(manager()->getAllPlugins()), QStringList{"Mono Test"});
    }

    void missingOrUnsetFolder()
    {
        QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
        QVERIFY(!manager()->loadPlugins(nullptr, QStringLiteral("/no/such/plugin/folder")));
        QCOMPARE(lcErrors.count(), 1);
        QVERIFY(lcErrors.at(0).at(0).toString().contains("does not exist"));
        QVERIFY(manager()->getAllPlugins().isEmpty());
        QCOMPARE(manager()->setCamera(nullptr), 0);
        manager()->unloadPlugins();

        // An empty configured folder is reported as not set.
        ini()->setValue(tcPluginManager::pluginsDirKey(), QString());
        QCOMPARE(manager()->getPluginsDir(), QString());
        QVERIFY(!manager()->loadPlugins(nullptr, QString()));
        QVERIFY(lcErrors.last().at(0).toString().contains("No plugin folder"));
    }

    void defaultFolderIsBesideTheProgram()
    {
        const QString lsDefault = QCoreApplication::applicationDirPath() + QStringLiteral("/plugins");
        QCOMPARE(manager()->getPluginsDir(), lsDefault);
        QVERIFY(manager()->loadPlugins(nullptr, QString()));
        QCOMPARE(manager()->getPluginsDir(), lsDefault);
        QCOMPARE(names(manager()->getAllPlugins()), QStringList{"Mono Test"});
    }

    void activePluginsFollowTheCamera()
    {
        ini()->setValue(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled"), true);
        tcPluginFolder lcFolder({scMono, scAny});
        QSignalSpy lcChanged(manager(), &tcPluginManager::pluginsChanged);
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(names(manager()->getAllPlugins()), (QStringList{"Any Test", "Mono Test"}));
        QCOMPARE(names(manager()->activePlugins()), QStringList{"Any Test"});
        tcGenTLPlugin* lpMono = pluginNamed("Mono Test");
        tcGenTLPlugin* lpAny = pluginNamed("Any Test");

        {
            tcOpenCamera lcCamera("SimCam-Mono-0001");
            QVERIFY(lcCamera.mbOpen);
            QCOMPARE(manager()->setCamera(&lcCamera.mcCamera), 2);
            QCOMPARE(names(lcChanged.last().at(0).value<QList<tcGenTLPlugin*>>()), (QStringList{"Any Test", "Mono Test"}));
            QCOMPARE(lpMono->property("cameraModel").toString(), QStringLiteral("SimCam Mono 2048"));
            QCOMPARE(lpMono->camera(), &lcCamera.mcCamera);
            QCOMPARE(manager()->getCmdRunner()->camera(), &lcCamera.mcCamera);
            QCOMPARE(manager()->setCamera(nullptr), 1);
            QCOMPARE(lpMono->property("cameraModel").toString(), QString());
            QCOMPARE(lpMono->camera(), nullptr);
        }
        {
            tcOpenCamera lcCamera("SimCam-Color-0002");
            QVERIFY(lcCamera.mbOpen);
            const int lnMonoCalls = lpMono->property("setCameraCalls").toInt();
            QCOMPARE(manager()->setCamera(&lcCamera.mcCamera), 1);
            QCOMPARE(names(manager()->activePlugins()), QStringList{"Any Test"});
            QCOMPARE(lpAny->property("cameraModel").toString(), QStringLiteral("SimCam Color 1936"));
            // An incompatible plugin that had no camera is left alone.
            QCOMPARE(lpMono->property("setCameraCalls").toInt(), lnMonoCalls);
            manager()->setCamera(nullptr);
        }
    }

    void interfacesByNameAndType()
    {
        ini()->setValue(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled"), true);
        tcPluginFolder lcFolder({scMono, scAny});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        tcOpenCamera lcCamera("SimCam-Mono-0001");
        QVERIFY(lcCamera.mbOpen);
        manager()->setCamera(&lcCamera.mcCamera);

        QCOMPARE(names(manager()->allInterfaces()), (QStringList{"Any Test", "Any Sink", "Any Decorator", "Any Plot",
                                                                 "Mono Test", "Mono Filter", "Mono Rect"}));
        QCOMPARE(names(manager()->allInterfaces("tcImageFilterInterface")), QStringList{"Mono Filter"});
        QCOMPARE(names(manager()->allInterfaces("tcImageSinkInterface")), QStringList{"Any Sink"});
        QCOMPARE(names(manager()->allInterfaces("tcPlottableInterface")), QStringList{"Any Plot"});
        QCOMPARE(names(manager()->allInterfaces("tcGenTLPlugin")), (QStringList{"Any Test", "Mono Test"}));
        QVERIFY(manager()->allInterfaces("tcNoSuchInterface").isEmpty());

        tcGenTLPlugin* lpMono = pluginNamed("Mono Test");
        QCOMPARE(lpMono->interfaceTypes(),
                 (QStringList{"tcGenTLPlugin", "tcImageFilterInterface", "tcImgRectInterface"}));
        QCOMPARE(lpMono->interfaceNames(), (QStringList{"Mono Test", "Mono Filter", "Mono Rect"}));
        QCOMPARE(lpMono->findInterface("Mono Rect")->typeName(), QStringLiteral("tcImgRectInterface"));
        QCOMPARE(lpMono->findInterface("Nothing"), nullptr);
        QCOMPARE(lpMono->interfacesOfType("tcImageFilterInterface").count(), 1);
        QCOMPARE(lpMono->title(), QStringLiteral("Mono test plugin"));
        // The default title is the name.
        QCOMPARE(pluginNamed("Any Test")->title(), QStringLiteral("Any Test"));

        // The video display keeps a rectangle tool in its action's data and
        // casts it back by the interface id.
        tcViewerInterface* lpRect = lpMono->findInterface("Mono Rect");
        QVariant lcData = QVariant::fromValue(static_cast<QObject*>(lpRect));
        auto* lpCast = qobject_cast<tcImgRectInterface*>(lcData.value<QObject*>());
        QVERIFY(lpCast);
        QCOMPARE(lpCast->selectionAction()->text(), QStringLiteral("Mono"));
        QCOMPARE(lpCast->selectRect(nullptr, nullptr, QRect(0, 0, 10, 10)), QRect(0, 0, 9, 9));
        QVERIFY(!qobject_cast<tcImgRectInterface*>(static_cast<QObject*>(lpMono)));
        QCOMPARE(QMetaType::type("tcImgRectInterface*"), qMetaTypeId<tcImgRectInterface*>());

        // Base bodies: a filter passes the frame, the plugin has no indicators.
        auto* lpFilter = static_cast<tcImageFilterInterface*>(lpMono->findInterface("Mono Filter"));
        tpImageBuffer lpFrame = tcImageBuffer::newImage();
        QCOMPARE(lpFilter->filterImage(lpFrame), lpFrame);
        QVERIFY(lpMono->getIndicators().isEmpty());
        QVERIFY(lpMono->controlWidget() == nullptr);
        QVERIFY(lpMono->settingsWidget() == nullptr);
        manager()->setCamera(nullptr);
    }

    void decoratorMapsImageToView()
    {
        ini()->setValue(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled"), true);
        tcPluginFolder lcFolder({scAny});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        auto* lpDecorator =
            static_cast<tcImgDecoratorInterface*>(manager()->allInterfaces("tcImgDecoratorInterface").value(0));
        QVERIFY(lpDecorator);
        QWidget lcView;
        lcView.resize(400, 300);
        QImage lcImage(200, 100, QImage::Format_Grayscale8);
        // Without the display's rectangles the image fills the view.
        QCOMPARE(lpDecorator->imageToDisplay(&lcView, nullptr, &lcImage).map(QPointF(200, 100)), QPointF(400, 300));
        // Image pixels (50,20)..(150,70) drawn into (10,30)..(210,130).
        lcView.setProperty("imageSourceRect", QRect(50, 20, 100, 50));
        lcView.setProperty("imageTargetRect", QRect(10, 30, 200, 100));
        const QTransform lcMap = lpDecorator->imageToDisplay(&lcView, nullptr, &lcImage);
        QCOMPARE(lcMap.map(QPointF(50, 20)), QPointF(10, 30));
        QCOMPARE(lcMap.map(QPointF(100, 45)), QPointF(110, 80));
        QVERIFY(lpDecorator->imageToDisplay(nullptr, nullptr, &lcImage).isIdentity());
    }

    void runnerGetsThePluginsCommands()
    {
        tcPluginFolder lcFolder({scMono, scAny});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        tcCmdRunner* lpRunner = manager()->getCmdRunner();
        QVERIFY(lpRunner);
        QVERIFY(lpRunner->cmds().contains("MONOCMD"));
        QVERIFY(lpRunner->cmds().contains("GENI"));
        // The disabled plugin's commands are not offered.
        QVERIFY(!lpRunner->cmds().contains("ANYCMD"));
        QCOMPARE(runCommand("SHARED"), QStringLiteral("mono"));
        manager()->unloadPlugins();
        QVERIFY(!lpRunner->cmds().contains("MONOCMD"));
        QVERIFY(!lpRunner->cmds().contains("SHARED"));
        QVERIFY(lpRunner->cmds().contains("GENI"));

        // With both enabled, the first plugin in folder order wins a shared
        // word; when it is disabled the other one takes the word over.
        ini()->setValue(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled"), true);
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(manager()->getCmdRunner(), lpRunner);
        QCOMPARE(runCommand("SHARED"), QStringLiteral("any"));
        QCOMPARE(runCommand("ANYCMD"), QStringLiteral("any"));
        auto lpSettings = ini();
        lpSettings->setValue(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled"), false);
        manager()->applySettings(lpSettings.get());
        QCOMPARE(runCommand("SHARED"), QStringLiteral("mono"));
        QVERIFY(!lpRunner->cmds().contains("ANYCMD"));
    }

    void settingsPageReadsAndWrites()
    {
        tcPluginFolder lcFolder({scMono, scAny});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        std::unique_ptr<tcSettingsWidget> lpPage(manager()->settingsWidget());
        QCOMPARE(lpPage->windowTitle(), QStringLiteral("Plugins"));
        QSignalSpy lcDirty(lpPage.get(), &tcSettingsWidget::dirty);
        auto lpSettings = ini();
        lpPage->readSettings(lpSettings.get());
        QCOMPARE(lcDirty.count(), 0);

        auto* lpFolder = lpPage->findChild<tcFileSettingsWidget*>("pluginsDirWidget");
        QVERIFY(lpFolder);
        QCOMPARE(lpFolder->mode(), tcFileSettingsWidget::eDirectory);
        QCOMPARE(lpFolder->fileName(), tcPluginManager::defaultPluginsDir());
        auto* lpList = lpPage->findChild<QTreeWidget*>("pluginList");
        QCOMPARE(lpList->topLevelItemCount(), 2);
        QTreeWidgetItem* lpMonoRow = rowNamed(lpList, "Mono Test");
        QTreeWidgetItem* lpAnyRow = rowNamed(lpList, "Any Test");
        QVERIFY(lpMonoRow && lpAnyRow);
        QCOMPARE(lpMonoRow->text(1), QStringLiteral("Mono test plugin"));
        QCOMPARE(lpMonoRow->text(2), QStringLiteral("1.2.3"));
        QVERIFY(lpMonoRow->text(3).endsWith(scMono));
        QCOMPARE(lpMonoRow->checkState(0), Qt::Checked);
        QCOMPARE(lpAnyRow->checkState(0), Qt::Unchecked);

        lpAnyRow->setCheckState(0, Qt::Checked);
        QCOMPARE(lcDirty.count(), 1);
        QCOMPARE(lcDirty.at(0).at(0).value<tcSettingsWidget*>(), lpPage.get());
        lpFolder->findChild<QLineEdit*>("lineEdit")->setText(lcFolder.path());
        QCOMPARE(lcDirty.count(), 2);

        QVERIFY(!manager()->settingsChanged());
        lpPage->writeSettings(lpSettings.get());
        QCOMPARE(lpSettings->value(tcPluginManager::pluginsDirKey()).toString(), lcFolder.path());
        QCOMPARE(lpSettings->value(tcPluginManager::pluginKey("tcAnyTestPlugin", "enabled")), QVariant(true));
        QCOMPARE(lpSettings->value(tcPluginManager::pluginKey("tcMonoTestPlugin", "enabled")), QVariant(true));
        QVERIFY(manager()->settingsChanged());
        // The newly enabled plugin takes part from the next camera hand-over.
        QVERIFY(manager()->getCmdRunner()->cmds().contains("ANYCMD"));
        QCOMPARE(manager()->setCamera(nullptr), 1);
        QCOMPARE(names(manager()->getAllPlugins()), (QStringList{"Any Test", "Mono Test"}));
        manager()->updateSettings(nullptr);
        QVERIFY(!manager()->settingsChanged());
    }

    void disabledPluginIsNotLoadedButListed()
    {
        ini()->setValue(tcPluginManager::pluginKey("tcMonoTestPlugin", "enabled"), true);
        tcPluginFolder lcFolder({scMono});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(names(manager()->getAllPlugins()), QStringList{"Mono Test"});

        std::unique_ptr<tcSettingsWidget> lpPage(manager()->settingsWidget());
        auto lpSettings = ini();
        lpPage->readSettings(lpSettings.get());
        rowNamed(lpPage->findChild<QTreeWidget*>("pluginList"), "Mono Test")->setCheckState(0, Qt::Unchecked);
        lpPage->writeSettings(lpSettings.get());
        QVERIFY(manager()->settingsChanged());
        QCOMPARE(manager()->setCamera(nullptr), 0);
        QVERIFY(manager()->getAllPlugins().isEmpty());
        QVERIFY(!manager()->getCmdRunner()->cmds().contains("MONOCMD"));
        lpPage.reset();

        // Remembered: on the next start the plugin is not loaded at all, yet
        // listed under the name it had.
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        const tcPluginInfo lcInfo = infoOf("tcMonoTestPlugin");
        QVERIFY(!lcInfo.mbLoaded);
        QVERIFY(!lcInfo.mbEnabled);
        QCOMPARE(lcInfo.msName, QStringLiteral("Mono Test"));
        QCOMPARE(lcInfo.msVersion, QStringLiteral("1.2.3"));

        // Enabling it again loads it right away.
        lpSettings->setValue(tcPluginManager::pluginKey("tcMonoTestPlugin", "enabled"), true);
        manager()->applySettings(lpSettings.get());
        QCOMPARE(names(manager()->getAllPlugins()), QStringList{"Mono Test"});
        QVERIFY(manager()->getCmdRunner()->cmds().contains("MONOCMD"));
    }

    void throwingPluginIsReportedAndSkipped_data()
    {
        QTest::addColumn<QByteArray>("throwIn");
        QTest::addColumn<QString>("operation");
        QTest::newRow("isCompatible") << QByteArray("isCompatible") << QStringLiteral("isCompatible failed");
        QTest::newRow("setCamera") << QByteArray("setCamera") << QStringLiteral("setCamera failed: camera refused");
    }

    void throwingPluginIsReportedAndSkipped()
    {
        QFETCH(QByteArray, throwIn);
        QFETCH(QString, operation);
        qputenv("KXTEST_THROW_IN", throwIn);
        tcPluginFolder lcFolder({scMono, scThrowing});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        // Fine without a camera.
        QCOMPARE(names(manager()->activePlugins()), QStringList{"Throwing Test"});

        QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
        tcOpenCamera lcCamera("SimCam-Mono-0001");
        QVERIFY(lcCamera.mbOpen);
        QCOMPARE(manager()->setCamera(&lcCamera.mcCamera), 1);
        QCOMPARE(names(manager()->activePlugins()), QStringList{"Mono Test"});
        QVERIFY(!lcErrors.isEmpty());
        const QString lsError = lcErrors.at(0).at(0).toString();
        QVERIFY2(lsError.contains(scThrowing) && lsError.contains(operation), qPrintable(lsError));
        if (throwIn == "setCamera")
            QCOMPARE(pluginNamed("Throwing Test")->camera(), nullptr);
        QCOMPARE(manager()->setCamera(nullptr), 1);
        qunsetenv("KXTEST_THROW_IN");
    }

    void aboutBoxListsThePlugins()
    {
        tcPluginFolder lcFolder({scMono, scAny, scOtherIid});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        tcOpenCamera lcCamera("SimCam-Mono-0001");
        QVERIFY(lcCamera.mbOpen);
        manager()->setCamera(&lcCamera.mcCamera);

        QPointer<QDialog> lpDialog = manager()->aboutPlugins();
        QVERIFY(lpDialog);
        QVERIFY(lpDialog->isVisible());
        QVERIFY(lpDialog->findChild<QLabel*>("labelHeader")->text().contains("SimCam Mono 2048"));
        auto* lpList = lpDialog->findChild<QTreeWidget*>("pluginList");
        QCOMPARE(lpList->topLevelItemCount(), 2);
        QTreeWidgetItem* lpMono = rowNamed(lpList, "Mono Test");
        QCOMPARE(lpMono->text(tcPluginInfo::eTitle), QStringLiteral("Mono test plugin"));
        QCOMPARE(lpMono->text(tcPluginInfo::eVersion), QStringLiteral("1.2.3"));
        QVERIFY(lpMono->text(tcPluginInfo::eFile).endsWith(scMono));
        QCOMPARE(lpMono->text(tcAboutPluginsDialog::eInterfaces),
                 QStringLiteral("Mono Test [tcGenTLPlugin], Mono Filter [tcImageFilterInterface], "
                                "Mono Rect [tcImgRectInterface]"));
        QCOMPARE(lpMono->text(tcAboutPluginsDialog::eState), QStringLiteral("active"));
        QCOMPARE(rowNamed(lpList, "Any Test")->text(tcAboutPluginsDialog::eState), QStringLiteral("disabled"));
        auto* lpSkipped = lpDialog->findChild<QTreeWidget*>("skippedList");
        QCOMPARE(lpSkipped->topLevelItemCount(), 1);
        QVERIFY(lpSkipped->topLevelItem(0)->text(0).startsWith(scOtherIid));

        lpDialog->close();
        QTRY_VERIFY(lpDialog.isNull());
        manager()->setCamera(nullptr);
    }

    void pluginMessagesReachTheManager()
    {
        tcPluginFolder lcFolder({scMono});
        QVERIFY(manager()->loadPlugins(nullptr, lcFolder.path()));
        QSignalSpy lcMessages(manager(), &tcPluginManager::Message);
        QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
        tcGenTLPlugin* lpMono = pluginNamed("Mono Test");
        emit lpMono->Message(QStringLiteral("hello"));
        emit lpMono->findInterface("Mono Filter")->Error(QStringLiteral("bad"));
        QCOMPARE(lcMessages.count(), 1);
        QCOMPARE(lcErrors.count(), 1);
        QCOMPARE(lcErrors.at(0).at(0).toString(), QStringLiteral("bad"));
    }
};

QTEST_MAIN(tst_PluginManager)
#include "tst_pluginmanager.moc"
