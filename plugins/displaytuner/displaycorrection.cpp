#include "displaycorrection.h"

#include "opencvutils.h"

#include <opencv2/imgproc.hpp>

#include <cstdint>

void tcDisplayCorrection::applyInSteps(cv::Mat& arMatrix, int anBits) const
{
    if (arMatrix.empty())
        return;
    const double ldTop = static_cast<double>((int64_t(1) << anBits) - 1);
    if (mbGainEnabled)
        tcOpenCVUtils::ApplyGain(arMatrix, mcGain);
    if (mbBrightnessEnabled)
        tcOpenCVUtils::ApplyBrightness(arMatrix, mcBrightness * ldTop);
    if (mbGammaEnabled)
        tcOpenCVUtils::ApplyGamma(arMatrix, mcGamma, anBits);
    cv::threshold(arMatrix, arMatrix, ldTop, ldTop, cv::THRESH_TRUNC);
}
