#pragma once

#include "imagesinkinterface.h"

#include <QPointer>

class tcImageStatsSource;

// Receives every frame after the filters and hands it to the statistics.
class tcImageStatsSink : public tcImageSinkInterface
{
    Q_OBJECT

public:
    tcImageStatsSink(tcImageStatsSource* apSource, QObject* apParent = nullptr);

    void NewFrame(tpImageBuffer apImage) override;

private:
    QPointer<tcImageStatsSource> mpSource;
};
