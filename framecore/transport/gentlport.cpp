#include "gentlport.h"

#include "gentlexcept.h"

#include <Base/GCException.h>

#include <QDebug>
#include <QLibrary>

#include <cstring>

namespace
{
// The first 32-bit word of the buffer, as the warning shows it.
quint32 firstWord(const void* apBuffer, int64_t anLength)
{
    quint32 lnWord = 0;
    if (apBuffer && anLength > 0)
        std::memcpy(&lnWord, apBuffer, static_cast<size_t>(qMin<int64_t>(anLength, sizeof(lnWord))));
    return lnWord;
}

QString hexAddress(int64_t anAddress)
{
    return QStringLiteral("0x%1").arg(static_cast<quint64>(anAddress), 0, 16);
}

[[noreturn]] void raiseFailure(const char* apVerb, int64_t anAddress, int64_t anLength, int anError)
{
    throw RUNTIME_EXCEPTION("Unable to %s port at address 0x%llx, length %lld: GenTL error %d (%s)", apVerb,
                            static_cast<unsigned long long>(anAddress), static_cast<long long>(anLength),
                            anError, GenTLExcept::errortxt(anError));
}
} // namespace

tcGenTLPort::tcGenTLPort(void* apPortHandle, QLibrary* apLibrary)
    : tcDebugSource(QStringLiteral("tcGenTLPort")), mpPortHandle(apPortHandle), mpLibrary(apLibrary)
{
}

tcGenTLPort::tcGenTLPort(const tcGenTLPort& arOther)
    : GenApi::IBase(), GenApi::IPort(), tcDebugSource(arOther), mpPortHandle(arOther.mpPortHandle),
      mpLibrary(arOther.mpLibrary)
{
}

tcGenTLPort& tcGenTLPort::operator=(const tcGenTLPort& arOther)
{
    tcDebugSource::operator=(arOther);
    mpPortHandle = arOther.mpPortHandle;
    mpLibrary = arOther.mpLibrary;
    mpRead = nullptr;
    mpWrite = nullptr;
    return *this;
}

tcGenTLPort::~tcGenTLPort() = default;

GenApi::EAccessMode tcGenTLPort::GetAccessMode() const
{
    return GenApi::RW;
}

GenTL::PGCReadPort tcGenTLPort::readFunction()
{
    if (!mpRead && mpLibrary)
        mpRead = reinterpret_cast<GenTL::PGCReadPort>(mpLibrary->resolve("GCReadPort"));
    return mpRead;
}

GenTL::PGCWritePort tcGenTLPort::writeFunction()
{
    if (!mpWrite && mpLibrary)
        mpWrite = reinterpret_cast<GenTL::PGCWritePort>(mpLibrary->resolve("GCWritePort"));
    return mpWrite;
}

namespace
{
// What differs between a read and a write: the producer function and the words.
struct tcAccessKind
{
    const char* mpFunction; // "GCReadPort"
    const char* mpMethod;   // "tcGenTLPort::Read"
    const char* mpWarning;  // "Unable to read port "
    const char* mpVerb;     // "read"
};
const tcAccessKind kRead{"GCReadPort", "tcGenTLPort::Read", "Unable to read port ", "read"};
const tcAccessKind kWrite{"GCWritePort", "tcGenTLPort::Write", "Unable to write port ", "write"};

// Calls the port function, or logs and raises why the access failed.
template <class tfFunction, class tvBuffer>
void access(const tcAccessKind& arKind, tfFunction apFunction, void* apPort, tvBuffer* apBuffer,
            int64_t anAddress, int64_t anLength)
{
    if (!apFunction)
    {
        qWarning() << "unable to resolve" << arKind.mpFunction;
        throw RUNTIME_EXCEPTION("Unable to %s port at address 0x%llx: %s is not exported", arKind.mpVerb,
                                static_cast<unsigned long long>(anAddress), arKind.mpFunction);
    }
    size_t lnSize = static_cast<size_t>(anLength);
    const GenTL::GC_ERROR lnResult = apFunction(apPort, static_cast<uint64_t>(anAddress), apBuffer, &lnSize);
    if (lnResult == GenTL::GC_ERR_SUCCESS)
        return;
    qWarning() << arKind.mpMethod << arKind.mpWarning << "Address=" << hexAddress(anAddress)
               << "Length=" << anLength << firstWord(apBuffer, anLength);
    raiseFailure(arKind.mpVerb, anAddress, anLength, lnResult);
}
} // namespace

void tcGenTLPort::Read(void* apBuffer, int64_t anAddress, int64_t anLength)
{
    access(kRead, readFunction(), mpPortHandle, apBuffer, anAddress, anLength);
}

void tcGenTLPort::Write(const void* apBuffer, int64_t anAddress, int64_t anLength)
{
    access(kWrite, writeFunction(), mpPortHandle, apBuffer, anAddress, anLength);
}
