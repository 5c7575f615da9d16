// Declares the right interface id but is not a tcGenTLPlugin.
#include "gentlplugin.h"

#include <QObject>

class tcWrongBasePlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)
};

#include "wrongbaseplugin.moc"
