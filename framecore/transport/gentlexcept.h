#pragma once

#include "framecore_export.h"

#include <QString>

// A failed GenTL call: which function, where it was called, and the producer's
// GC_ERROR code. Thrown and caught inside Kestrix, never across a producer.
class FRAMECORE_EXPORT GenTLExcept
{
public:
    GenTLExcept(const char* apFile, unsigned anLine, const char* apWhat, int anError);
    GenTLExcept(const GenTLExcept&) = default;
    GenTLExcept& operator=(const GenTLExcept&) = default;
    virtual ~GenTLExcept();

    // The name of the error code, "Unknown" for codes outside the standard.
    const char* errortxt() const;
    static const char* errortxt(int anError);

    // "file:line:GenTL:function:code:name"
    QString message() const;

    QString what() const { return msWhat; }
    unsigned line() const { return mnLine; }
    QString file() const { return msFile; }
    int error() const { return mnError; }

private:
    QString msWhat;
    unsigned mnLine;
    QString msFile;
    int mnError;
};
