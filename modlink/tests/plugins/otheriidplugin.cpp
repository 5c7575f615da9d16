// A Qt plugin of some other program.
#include <QObject>
#include <QtPlugin>

class tcOtherIidPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "com.example.Other.1")
};

#include "otheriidplugin.moc"
