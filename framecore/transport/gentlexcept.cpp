#include "gentlexcept.h"

namespace
{
// Names of the GC_ERROR codes 0 and -1001 ... -1022, in code order.
const char* const kErrorNames[] = {
    "Error",
    "Not Initialized",
    "Not Implemented",
    "Resource in Use",
    "Access Denied",
    "Invalid Handle",
    "Invalid ID",
    "No Data",
    "Invalid Parameter",
    "IO Error",
    "Timeout",
    "Aborted",
    "Invalid BUffer",
    "Not Available",
    "Invalid Address",
    "Buffer Too Small",
    "Invalid Index",
    "Error Parsing Chunk Data",
    "Invalid Value",
    "Resource Exhausted",
    "Out of Memory",
    "Busy",
};
constexpr int kFirstError = -1001;
constexpr int kErrorCount = static_cast<int>(sizeof(kErrorNames) / sizeof(kErrorNames[0]));
} // namespace

GenTLExcept::GenTLExcept(const char* apFile, unsigned anLine, const char* apWhat, int anError)
    : msWhat(QString::fromLatin1(apWhat)), mnLine(anLine), msFile(QString::fromLatin1(apFile)),
      mnError(anError)
{
}

GenTLExcept::~GenTLExcept() = default;

const char* GenTLExcept::errortxt() const
{
    return errortxt(mnError);
}

const char* GenTLExcept::errortxt(int anError)
{
    if (anError == 0)
        return "Success";
    const int lnIndex = kFirstError - anError;
    if (lnIndex >= 0 && lnIndex < kErrorCount)
        return kErrorNames[lnIndex];
    return "Unknown";
}

QString GenTLExcept::message() const
{
    return QStringLiteral("%1:%2:GenTL:%3:%4:%5")
        .arg(msFile)
        .arg(mnLine)
        .arg(msWhat)
        .arg(mnError)
        .arg(QString::fromLatin1(errortxt()));
}
