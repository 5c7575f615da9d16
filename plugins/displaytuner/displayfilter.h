#pragma once

#include "correctiontable.h"
#include "displaycorrection.h"
#include "imagefilterinterface.h"

// Corrects the shown image: gain per channel, brightness, gamma, and clipping
// at the top of the sample range, always in this order, on each frame's
// filtered matrix in place. With all three switched off a frame passes
// untouched.
//
// The scale of brightness and gamma is the range of one colour component,
// so 8-bit colour frames are corrected over 0..255 like 8-bit mono ones.
class tcDisplayFilter : public tcImageFilterInterface
{
    Q_OBJECT

public:
    explicit tcDisplayFilter(QObject* apParent = nullptr);
    ~tcDisplayFilter() override;

    tpImageBuffer filterImage(tpImageBuffer apImage) override;

    const tcDisplayCorrection& correction() const { return mcCorrection; }
    void setCorrection(const tcDisplayCorrection& arCorrection) { mcCorrection = arCorrection; }
    void setGainEnabled(bool abOn) { mcCorrection.mbGainEnabled = abOn; }
    void setBrightnessEnabled(bool abOn) { mcCorrection.mbBrightnessEnabled = abOn; }
    void setGammaEnabled(bool abOn) { mcCorrection.mbGammaEnabled = abOn; }
    void setGain(const cv::Scalar& arGain) { mcCorrection.mcGain = arGain; }
    void setBrightness(const cv::Scalar& arBrightness) { mcCorrection.mcBrightness = arBrightness; }
    void setGamma(const cv::Scalar& arGamma) { mcCorrection.mcGamma = arGamma; }

private:
    tcDisplayCorrection mcCorrection;
    // Kept between frames: it changes only with the settings or the format.
    tcCorrectionTable mcTable;
};
