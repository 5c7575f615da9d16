#pragma once

#include <QVarLengthArray>

#include <opencv2/core/mat.hpp>

// The samples of one row or one column of a matrix, for one channel, as a
// curve over the column or row index.
class tcLineProfile
{
public:
    enum teDirection
    {
        Horizontal, // along a row
        Vertical    // along a column
    };

    // False (arrays untouched) when the line or the channel lies outside the
    // matrix or its depth is not one of 8/16-bit integers or 32-bit float.
    static bool extract(const cv::Mat& arMatrix, teDirection aeDirection, int anLine, int anChannel,
                        QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY);
};
