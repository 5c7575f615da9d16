// A plugin for the simulated monochrome camera only, with a filter and a
// rectangle tool.
#include "fixedreplyhandler.h"
#include "imagefilterinterface.h"
#include "imgrectinterface.h"
#include "recordingplugin.h"

#include <GenApi/GenApi.h>

#include <QAction>

class tcMonoFilter : public tcImageFilterInterface
{
    Q_OBJECT

public:
    explicit tcMonoFilter(QObject* apParent) : tcImageFilterInterface(QStringLiteral("mono filter"), apParent)
    {
        setObjectName(QStringLiteral("Mono Filter"));
    }
};

class tcMonoRect : public tcImgRectInterface
{
    Q_OBJECT

public:
    explicit tcMonoRect(QObject* apParent)
        : tcImgRectInterface(QStringLiteral("mono rect"), apParent), mpAction(new QAction(QStringLiteral("Mono"), this))
    {
        setObjectName(QStringLiteral("Mono Rect"));
        mpAction->setCheckable(true);
    }
    QAction* selectionAction() override { return mpAction; }
    QRect selectRect(QWidget*, const GenApi::CNodeMapRef*, const QRect& arRect) override
    {
        return arRect.adjusted(0, 0, -1, -1);
    }

private:
    QAction* mpAction;
};

class tcMonoTestPlugin : public tcRecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcMonoTestPlugin() : tcRecordingPlugin(QStringLiteral("mono test"))
    {
        setObjectName(QStringLiteral("Mono Test"));
        addInterface(new tcMonoFilter(this));
        addInterface(new tcMonoRect(this));
    }

    QString version() const override { return QStringLiteral("1.2.3"); }
    QString title() const override { return QStringLiteral("Mono test plugin"); }
    bool isCompatible(const GenApi::CNodeMapRef* apNodeMap) override
    {
        if (!apNodeMap)
            return false;
        GenApi::CStringPtr lpModel = apNodeMap->_GetNode("DeviceModelName");
        return lpModel && QString::fromLatin1(lpModel->GetValue().c_str()).startsWith(QLatin1String("SimCam Mono"));
    }
    QList<QSharedPointer<tcCmdHandler>> scriptableCommands() override
    {
        return {QSharedPointer<tcCmdHandler>(new tcFixedReplyHandler(QStringLiteral("MONOCMD"), QStringLiteral("mono"))),
                QSharedPointer<tcCmdHandler>(new tcFixedReplyHandler(QStringLiteral("SHARED"), QStringLiteral("mono")))};
    }
};

#include "monoplugin.moc"
