// A plugin for every camera, disabled until the user enables it, with a
// sink, a decorator and a plot source.
#include "fixedreplyhandler.h"
#include "imagesinkinterface.h"
#include "imgdecoratorinterface.h"
#include "plottableinterface.h"
#include "recordingplugin.h"
#include "settingswidget.h"

#include <QSettings>

class tcAnySink : public tcImageSinkInterface
{
    Q_OBJECT

public:
    explicit tcAnySink(QObject* apParent) : tcImageSinkInterface(QStringLiteral("any sink"), apParent)
    {
        setObjectName(QStringLiteral("Any Sink"));
    }
};

class tcAnyDecorator : public tcImgDecoratorInterface
{
    Q_OBJECT

public:
    explicit tcAnyDecorator(QObject* apParent) : tcImgDecoratorInterface(QStringLiteral("any decorator"), apParent)
    {
        setObjectName(QStringLiteral("Any Decorator"));
    }
};

class tcAnyPlot : public tcPlottableInterface
{
    Q_OBJECT

public:
    explicit tcAnyPlot(QObject* apParent) : tcPlottableInterface(QStringLiteral("any plot"), apParent)
    {
        setObjectName(QStringLiteral("Any Plot"));
    }
};

class tcAnySettingsPage : public tcSettingsWidget
{
    Q_OBJECT

public:
    tcAnySettingsPage() { setWindowTitle(QStringLiteral("Any Test")); }
    void readSettings(QSettings*) override {}
    void writeSettings(QSettings*) override {}
};

class tcAnyTestPlugin : public tcRecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcAnyTestPlugin() : tcRecordingPlugin(QStringLiteral("any test"))
    {
        setObjectName(QStringLiteral("Any Test"));
        addInterface(new tcAnySink(this));
        addInterface(new tcAnyDecorator(this));
        addInterface(new tcAnyPlot(this));
    }

    QString version() const override { return QStringLiteral("0.1"); }
    bool isDefaultEnabled() const override { return false; }
    tcSettingsWidget* settingsWidget() override { return new tcAnySettingsPage; }
    QList<QSharedPointer<tcCmdHandler>> scriptableCommands() override
    {
        return {QSharedPointer<tcCmdHandler>(new tcFixedReplyHandler(QStringLiteral("ANYCMD"), QStringLiteral("any"))),
                QSharedPointer<tcCmdHandler>(new tcFixedReplyHandler(QStringLiteral("SHARED"), QStringLiteral("any")))};
    }
};

#include "anyplugin.moc"
