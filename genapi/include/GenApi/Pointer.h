#pragma once
#include <GenApi/IBoolean.h>
#include <GenApi/ICategory.h>
#include <GenApi/ICommand.h>
#include <GenApi/IEnumeration.h>
#include <GenApi/IFloat.h>
#include <GenApi/IInteger.h>
#include <GenApi/INodeMap.h>
#include <GenApi/IPort.h>
#include <GenApi/IRegister.h>
#include <GenApi/ISelector.h>
#include <GenApi/IString.h>

namespace GenApi
{

// A borrowed interface pointer obtained by cast from any other interface of
// the same node: casting to an interface the node does not offer gives an
// invalid pointer, and using an invalid one raises an exception instead of
// crashing.
template <class T, class B = IBase> class CPointer
{
public:
    CPointer() noexcept : _Ptr(nullptr) {}
    CPointer(B* pB) : _Ptr(pB ? dynamic_cast<T*>(pB) : nullptr) {}
    CPointer(const CPointer& rT) = default;
    template <class T2, class B2>
    CPointer(const CPointer<T2, B2>& rT) : _Ptr(rT._Ptr ? dynamic_cast<T*>(rT._Ptr) : nullptr)
    {
    }

    CPointer& operator=(const CPointer& rT) = default;
    CPointer& operator=(B* pB)
    {
        _Ptr = pB ? dynamic_cast<T*>(pB) : nullptr;
        return *this;
    }
    CPointer& operator=(int nMustBeNull)
    {
        if (nMustBeNull != 0)
            throw LOGICAL_ERROR_EXCEPTION("argument must be NULL");
        _Ptr = nullptr;
        return *this;
    }

    operator T*() const
    {
        checkValid();
        return _Ptr;
    }
    T& operator*() const
    {
        checkValid();
        return *_Ptr;
    }
    T* operator->() const
    {
        checkValid();
        return _Ptr;
    }

    bool IsValid() const noexcept { return _Ptr != nullptr; }
    operator bool() const noexcept { return _Ptr != nullptr; }

    bool operator==(T* pT) const noexcept { return _Ptr == pT; }
    bool operator==(const CPointer& rT) const noexcept { return _Ptr == rT._Ptr; }
    bool operator==(int nMustBeNull) const
    {
        if (nMustBeNull != 0)
            throw LOGICAL_ERROR_EXCEPTION("argument must be NULL");
        return _Ptr == nullptr;
    }
    bool operator!=(T* pT) const noexcept { return _Ptr != pT; }
    bool operator!=(const CPointer& rT) const noexcept { return _Ptr != rT._Ptr; }
    bool operator!=(int nMustBeNull) const { return !(*this == nMustBeNull); }

    T* _Ptr;

private:
    void checkValid() const
    {
        if (!_Ptr)
            throw LOGICAL_ERROR_EXCEPTION("NULL pointer dereferenced");
    }
};

using CBasePtr = CPointer<IBase>;
using CNodePtr = CPointer<INode>;
using CValuePtr = CPointer<IValue>;
using CCategoryPtr = CPointer<ICategory>;
using CBooleanPtr = CPointer<IBoolean>;
using CIntegerPtr = CPointer<IInteger>;
using CStringPtr = CPointer<IString>;
using CRegisterPtr = CPointer<IRegister>;
using CEnumerationPtr = CPointer<IEnumeration>;
using CEnumEntryPtr = CPointer<IEnumEntry>;
using CPortPtr = CPointer<IPort>;
using CCommandPtr = CPointer<ICommand>;
using CFloatPtr = CPointer<IFloat>;
using CSelectorPtr = CPointer<ISelector>;
using CNodeMapPtr = CPointer<INodeMap, INodeMap>;

template <class T, class B> inline bool IsReadable(const CPointer<T, B>& ptr)
{
    return ptr.IsValid() && IsReadable(ptr->GetAccessMode());
}
template <class T, class B> inline bool IsWritable(const CPointer<T, B>& ptr)
{
    return ptr.IsValid() && IsWritable(ptr->GetAccessMode());
}
template <class T, class B> inline bool IsImplemented(const CPointer<T, B>& ptr)
{
    return ptr.IsValid() && IsImplemented(ptr->GetAccessMode());
}
template <class T, class B> inline bool IsAvailable(const CPointer<T, B>& ptr)
{
    return ptr.IsValid() && IsAvailable(ptr->GetAccessMode());
}

} // namespace GenApi
