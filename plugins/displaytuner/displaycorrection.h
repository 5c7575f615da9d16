#pragma once

#include <opencv2/core.hpp>

// The display corrections the user chose: which of gain, brightness and gamma
// take part and their values per channel (red, green, blue, unused). The
// brightness is a fraction of the full sample range.
struct tcDisplayCorrection
{
    bool mbGainEnabled = false;
    bool mbBrightnessEnabled = false;
    bool mbGammaEnabled = false;
    cv::Scalar mcGain{1, 1, 1, 1};
    cv::Scalar mcBrightness{0, 0, 0, 0};
    // Only the first component is used, for all channels.
    cv::Scalar mcGamma{1, 1, 1, 1};

    bool anyEnabled() const { return mbGainEnabled || mbBrightnessEnabled || mbGammaEnabled; }
    bool operator==(const tcDisplayCorrection& arOther) const
    {
        return mbGainEnabled == arOther.mbGainEnabled && mbBrightnessEnabled == arOther.mbBrightnessEnabled &&
               mbGammaEnabled == arOther.mbGammaEnabled && mcGain == arOther.mcGain &&
               mcBrightness == arOther.mcBrightness && mcGamma == arOther.mcGamma;
    }
    bool operator!=(const tcDisplayCorrection& arOther) const { return !(*this == arOther); }

    // The corrections step by step on a matrix of samples with anBits
    // significant bits: gain, brightness (scaled to the top of the range),
    // gamma, then clipping at the top. This is the definition the look-up
    // table reproduces.
    void applyInSteps(cv::Mat& arMatrix, int anBits) const;
};
