// A plugin that needs a library the plugin folder does not have, so loading
// it fails although its metadata is fine.
#include "gentlplugin.h"

#include <QVariant>

extern "C" int kxtest_gone_answer();

class tcMissingDepPlugin : public tcGenTLPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcMissingDepPlugin() : tcGenTLPlugin(QStringLiteral("missing dep")) { setProperty("answer", kxtest_gone_answer()); }
};

#include "missingdepplugin.moc"
