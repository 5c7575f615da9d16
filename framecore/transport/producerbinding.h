#pragma once

#include "framecore_export.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;
class tcGenTLInterface;

// Loads, initialises and unloads the producer the user chose. The main window
// keeps one and asks it for the binding when it opens devices.
class FRAMECORE_EXPORT tcProducerBinding : public QObject
{
    Q_OBJECT

public:
    explicit tcProducerBinding(QObject* apParent = nullptr);
    ~tcProducerBinding() override;

    // The producer that ships beside the program, whether it exists or not.
    static QString bundledProducerPath();
    // "default_path" of group "GenTL", or the bundled producer beside the
    // program when that key is unset and the file exists.
    static QString defaultProducerPath();
    static QString producerFileFilter();
    // Asks the user for a producer file; empty when nothing was picked.
    static QString chooseProducer(QWidget* apParent, const QString& arStartPath);

    // Replaces any loaded producer. Returns whether the new one initialised.
    bool load(const QString& arPath);
    void unload();

    tcGenTLInterface* binding() const { return mpBinding.get(); }
    bool isInitialized() const { return mbInitialized; }

signals:
    void Message(QString txt);
    void Error(QString err);

private:
    std::unique_ptr<tcGenTLInterface> mpBinding;
    bool mbInitialized = false;
};
