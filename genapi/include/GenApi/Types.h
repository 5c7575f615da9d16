#pragma once
#include <Base/GCBase.h>

#include <vector>

namespace GenApi
{

using GenICam::gcstring;
using GenICam::gcstring_vector;

// The numeric values of these enumerations are part of the binary interface.
enum EAccessMode
{
    NI = 0,
    NA = 1,
    WO = 2,
    RO = 3,
    RW = 4,
    _UndefinedAccesMode = 5,
    _CycleDetectAccesMode = 6
};

enum EVisibility
{
    Beginner = 0,
    Expert = 1,
    Guru = 2,
    Invisible = 3,
    _UndefinedVisibility = 99
};

enum ECachingMode
{
    NoCache = 0,
    WriteThrough = 1,
    WriteAround = 2,
    _UndefinedCachingMode = 3
};

enum ERepresentation
{
    Linear = 0,
    Logarithmic = 1,
    Boolean = 2,
    PureNumber = 3,
    HexNumber = 4,
    IPV4Address = 5,
    MACAddress = 6,
    _UndefinedRepresentation = 7
};

enum EEndianess
{
    BigEndian = 0,
    LittleEndian = 1,
    _UndefinedEndian = 2
};

enum ENameSpace
{
    Custom = 0,
    Standard = 1,
    _UndefinedNameSpace = 2
};

enum EStandardNameSpace
{
    None = 0,
    GEV = 1,
    IIDC = 2,
    CL = 3,
    USB = 4,
    _UndefinedStandardNameSpace = 5
};

enum ESign
{
    Signed = 0,
    Unsigned = 1,
    _UndefinedSign = 2
};

enum EYesNo
{
    No = 0,
    Yes = 1,
    _UndefinedYesNo = 2
};

enum ESlope
{
    Increasing = 0,
    Decreasing = 1,
    Varying = 2,
    Automatic = 3,
    _UndefinedESlope = 4
};

enum EDisplayNotation
{
    fnAutomatic = 0,
    fnFixed = 1,
    fnScientific = 2,
    _UndefinedEDisplayNotation = 3
};

enum EInterfaceType
{
    intfIValue = 0,
    intfIBase = 1,
    intfIInteger = 2,
    intfIBoolean = 3,
    intfICommand = 4,
    intfIFloat = 5,
    intfIString = 6,
    intfIRegister = 7,
    intfICategory = 8,
    intfIEnumeration = 9,
    intfIEnumEntry = 10,
    intfIPort = 11
};

enum ELinkType
{
    ctParentNodes = 0,
    ctReadingChildren = 1,
    ctWritingChildren = 2,
    ctInvalidatingChildren = 3,
    ctDependingNodes = 4,
    ctTerminalNodes = 5,
    ctValueChangingChildren = 6
};

enum EIncMode
{
    noIncrement = 0,
    fixedIncrement = 1,
    listIncrement = 2
};

enum ECallbackType
{
    cbPostInsideLock = 1,
    cbPostOutsideLock = 2
};

using CallbackHandleType = intptr_t;

class INode;
class IValue;

// Lists handed out by the node map; plain vectors of borrowed pointers.
class node_vector : public std::vector<INode*>
{
public:
    using std::vector<INode*>::vector;
};

class value_vector : public std::vector<IValue*>
{
public:
    using std::vector<IValue*>::vector;
};

using NodeList_t = node_vector;
using FeatureList_t = value_vector;
using StringList_t = gcstring_vector;

// What two access restrictions allow together. Note that read-only combined
// with write-only leaves nothing.
inline EAccessMode Combine(EAccessMode aeA, EAccessMode aeB)
{
    if (aeA == NI || aeB == NI)
        return NI;
    if (aeA == NA || aeB == NA)
        return NA;
    if ((aeA == RO && aeB == WO) || (aeA == WO && aeB == RO))
        return NA;
    if (aeA == WO || aeB == WO)
        return WO;
    if (aeA == RO || aeB == RO)
        return RO;
    return RW;
}

inline ECachingMode Combine(ECachingMode aeA, ECachingMode aeB)
{
    if (aeA == NoCache || aeB == NoCache)
        return NoCache;
    if (aeA == WriteAround || aeB == WriteAround)
        return WriteAround;
    return WriteThrough;
}

inline EVisibility Combine(EVisibility aeA, EVisibility aeB)
{
    return aeA > aeB ? aeA : aeB;
}

inline bool IsVisible(EVisibility aeVisibility, EVisibility aeMaxVisibility)
{
    return aeVisibility <= aeMaxVisibility;
}

inline bool IsReadable(EAccessMode aeMode)
{
    return aeMode == RO || aeMode == RW;
}
inline bool IsWritable(EAccessMode aeMode)
{
    return aeMode == WO || aeMode == RW;
}
inline bool IsImplemented(EAccessMode aeMode)
{
    return aeMode != NI;
}
inline bool IsAvailable(EAccessMode aeMode)
{
    return !(aeMode == NA || aeMode == NI);
}

} // namespace GenApi
