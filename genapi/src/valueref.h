#pragma once
#include "node.h"

namespace GenApi
{

// A property given either as a constant element (Value, Min, Length, ...) or
// as a reference to another node (pValue, pMin, pLength, ...).
template <class T> class tcValueRef
{
public:
    bool isSet() const { return mbSet; }
    tcNode* node() const { return mpNode; }
    void setConstant(T aValue)
    {
        mbSet = true;
        mpNode = nullptr;
        mValue = aValue;
    }
    void setNode(tcNode* apNode)
    {
        mbSet = apNode != nullptr;
        mpNode = apNode;
    }
    T constant() const { return mValue; }

    T get(bool abVerify = false, bool abIgnoreCache = false) const;
    void set(T aValue, bool abVerify) const;

    // Reads "Value"-style text or links a "pValue"-style reference; the
    // owner gains the referenced node as a child.
    void parse(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker);

private:
    bool mbSet = false;
    T mValue{};
    tcNode* mpNode = nullptr;
};

using tcIntRef = tcValueRef<int64_t>;
using tcFloatRef = tcValueRef<double>;

template <> inline int64_t tcValueRef<int64_t>::get(bool abVerify, bool abIgnoreCache) const
{
    return mpNode ? mpNode->getInt(abVerify, abIgnoreCache) : mValue;
}

template <> inline double tcValueRef<double>::get(bool abVerify, bool abIgnoreCache) const
{
    return mpNode ? mpNode->getFloat(abVerify, abIgnoreCache) : mValue;
}

template <> inline void tcValueRef<int64_t>::set(int64_t anValue, bool abVerify) const
{
    if (mpNode)
        mpNode->setInt(anValue, abVerify);
}

template <> inline void tcValueRef<double>::set(double adValue, bool abVerify) const
{
    if (mpNode)
        mpNode->setFloat(adValue, abVerify);
}

void parseIntRef(tcIntRef& arRef, tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                 tcLinker& arLinker);
void parseFloatRef(tcFloatRef& arRef, tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                   tcLinker& arLinker);

template <>
inline void tcValueRef<int64_t>::parse(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                                       tcLinker& arLinker)
{
    parseIntRef(*this, arOwner, apName, arElement, arLinker);
}

template <>
inline void tcValueRef<double>::parse(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                                      tcLinker& arLinker)
{
    parseFloatRef(*this, arOwner, apName, arElement, arLinker);
}

// Shared text parsers for enumerated element values.
ERepresentation parseRepresentation(const std::string& arText);
EAccessMode parseAccessMode(const std::string& arText, EAccessMode aeDefault);

} // namespace GenApi
