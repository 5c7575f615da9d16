#pragma once

#include <QString>
#include <QStringList>

// The GenTL producer files a user is likely to want: every "*.cti" in the
// folders of the standard variable GENICAM_GENTL64_PATH, and the producer
// that ships beside the program. Folders that do not exist are skipped
// without a word; a file reached twice (the same folder listed twice, or the
// program folder also in the variable) is offered once.
class tcProducerFiles
{
public:
    tcProducerFiles() = delete;

    static constexpr const char* kSearchPathVariable = "GENICAM_GENTL64_PATH";

    // From the variable's value as given and the bundled producer's path.
    static QStringList find(const QString& arSearchPath, const QString& arBundled);
    // From the process environment and the program folder.
    static QStringList available();
};
