#pragma once

#include "framecore_export.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <opencv2/core.hpp>

// Helpers over OpenCV matrices for the display side: the brightness, gain and
// gamma corrections of the display filter, the crop-and-scale step and the
// pixel read-out of the video display, and Qt/OpenCV geometry conversions.
// Operations change their first argument in place unless they return a
// result. None of them locks; the caller keeps other threads off the matrix.
class FRAMECORE_EXPORT tcOpenCVUtils
{
public:
    // m = m + offset per channel, saturating.
    static void ApplyBrightness(cv::Mat& arMatrix, cv::Scalar acOffset);
    // One channel: × gain[0]; three channels: channel k × gain[k]; any other
    // channel count is left alone. Depth is kept, results saturate.
    static void ApplyGain(cv::Mat& arMatrix, cv::Scalar acGain);
    // Gamma gamma[0] over samples of anBits significant bits, through a table
    // of 2^anBits entries. 8-bit matrices take bits up to 8, 16-bit matrices
    // up to 16; other depths or bit counts leave the matrix unchanged. Samples
    // above the top of the bit range map to the top.
    static void ApplyGamma(cv::Mat& arMatrix, cv::Scalar acGamma, int anBits);
    // Replaces every 16-bit sample v of the matrix by table[v], in place and
    // in parallel. Samples at or beyond the table's end take its last entry.
    static void LUT16(cv::InputArray acMatrix, cv::InputArray acTable);

    // The part of the matrix inside the source rectangle, scaled to the size.
    // Shrinking always uses area interpolation (anything else aliases);
    // enlarging uses the interpolation asked for. A source rectangle reaching
    // outside the matrix is cut to it; nothing to show gives an empty matrix.
    static cv::Mat CropAndResize(const cv::Mat& arMatrix, const cv::Rect& arSource, const cv::Size& arSize,
                                 int anInterpolation);
    static cv::Mat CropAndResize(const cv::Mat& arMatrix, const QRect& arSource, const QRect& arTarget,
                                 int anInterpolation);
    // The interpolation CropAndResize uses for a region and output size.
    static int ChooseInterpolation(const cv::Size& arSource, const cv::Size& arOutput, int anInterpolation);

    static cv::Rect ConvertQRectToCvRect(const QRect& arRect);
    static cv::Size ConvertQSizeToCvSize(const QSize& arSize);

    // The pixel at column anX, row anY as text: the value, or "(c0,c1,c2)" for
    // three channels, each right-aligned in the width its type needs; "" for a
    // position outside the matrix and "??" for types it cannot show.
    static QString PixelAsText(const cv::Mat& arMatrix, int anX, int anY);

    tcOpenCVUtils() = delete;
};
