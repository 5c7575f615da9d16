#pragma once

#include "displaycorrection.h"

#include <opencv2/core.hpp>

// The display corrections as one look-up table per channel over every value
// a sample of the matrix type can hold. Each correction is a function of the
// sample alone, so one table lookup per sample gives exactly what the steps
// give, at the cost of a single pass over the frame.
//
// The table is made by running the steps themselves over a ramp of all
// sample values, so it cannot drift from their definition.
class tcCorrectionTable
{
public:
    // Whether matrices of this type can go through a table: 8- or 16-bit
    // unsigned samples with one or three channels.
    static bool supports(int anType);

    // Rebuilds the table unless it already serves these corrections, this
    // matrix type and bit count.
    void prepare(const tcDisplayCorrection& arCorrection, int anType, int anBits);
    // Corrects the matrix in place; it must have the prepared type.
    void apply(cv::Mat& arMatrix) const;

    bool isPrepared() const { return !mcTable.empty(); }
    int type() const { return mnType; }

private:
    void apply16(cv::Mat& arMatrix) const;

    tcDisplayCorrection mcCorrection;
    int mnType = -1;
    int mnBits = 0;
    // One row; entry (v, k) is the corrected value of sample v in channel k.
    cv::Mat mcTable;
};
