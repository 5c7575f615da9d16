#pragma once

#include <QByteArray>
#include <QVector>

class QIODevice;

// The comma-separated form of one curve: its y values, each followed by a
// comma, on one line; a file read back gives sample i the x position i.
class tcPlotCsv
{
public:
    struct tsCurve
    {
        QVector<double> mcX;
        QVector<double> mcY;
        // Fields that were no number: they keep their x position with NaN.
        int mnSkipped = 0;
    };

    // Numbers are written with enough digits to read back the same value.
    static bool write(QIODevice& arDevice, const double* apY, int anCount);
    // Fields are separated by commas or line breaks; blanks around a field
    // and the empty field after a final separator are ignored.
    static tsCurve read(const QByteArray& arText);
};
