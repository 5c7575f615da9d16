#pragma once

#include <QString>
#include <QVector>

// A release number of the form "1.2.3": one to four decimal components
// separated by dots. Anything else, a suffix such as "-beta" included, does
// not parse, so that a release is never offered on a guess.
class tcVersionNumber
{
public:
    // True when arText is a version number; arOut then holds its components.
    static bool parse(const QString& arText, tcVersionNumber& arOut);

    // Negative, zero or positive as this is older than, equal to or newer than
    // arOther; missing components count as 0, so 1.0 equals 1.0.0.
    int compare(const tcVersionNumber& arOther) const;

    QString toString() const;

private:
    QVector<int> mcParts;
};
