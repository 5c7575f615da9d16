#pragma once
#include "valueref.h"

#include <cstring>
#include <utility>
#include <vector>

namespace GenApi
{

// Where an Integer or Float node takes its value from: a floating variable
// (<Value>), another node (<pValue>, copied to every <pValueCopy> on write),
// or a table selected by the current value of an index node.
template <class T> class tcValueSource
{
public:
    bool parseElement(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                      tcLinker& arLinker)
    {
        auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
        if (is("Value") || is("pValue"))
            mcValue.parse(arOwner, apName, arElement, arLinker);
        else if (is("pValueCopy"))
        {
            tcValueRef<T> cCopy;
            cCopy.parse(arOwner, apName, arElement, arLinker);
            mcCopies.push_back(cCopy);
        }
        else if (is("pIndex"))
        {
            mpIndex = arLinker.require(arOwner, xml::text(arElement));
            arOwner.addChild(mpIndex);
        }
        else if (is("ValueIndexed") || is("pValueIndexed"))
        {
            int64_t nIndex = 0;
            const std::string sIndex = xml::attribute(arElement, "Index");
            if (!xml::parseInt(sIndex, nIndex))
                arOwner.KX_FAIL(RuntimeException, "Index '%s' of <%s> is not an integer", sIndex.c_str(),
                                apName);
            tcValueRef<T> cEntry;
            cEntry.parse(arOwner, apName[0] == 'p' ? "pValue" : "Value", arElement, arLinker);
            mcIndexed.emplace_back(nIndex, cEntry);
        }
        else if (is("ValueDefault") || is("pValueDefault"))
            mcDefault.parse(arOwner, apName[0] == 'p' ? "pValue" : "Value", arElement, arLinker);
        else
            return false;
        return true;
    }

    void finish(tcNode& arOwner)
    {
        if (!mcValue.isSet() && !mpIndex)
            arOwner.KX_FAIL(RuntimeException, "Node has neither <Value>, <pValue> nor <pIndex>");
        if (mpIndex && !mcDefault.isSet() && mcIndexed.empty())
            arOwner.KX_FAIL(RuntimeException, "Indexed node has no values");
    }

    bool isFloating() const { return !mpIndex && mcValue.isSet() && !mcValue.node(); }
    tcNode* node() const { return mpIndex ? nullptr : mcValue.node(); }

    // The reference in effect now (for the indexed form: chosen by the index).
    const tcValueRef<T>& current() const
    {
        if (!mpIndex)
            return mcValue;
        const int64_t nIndex = mpIndex->getInt();
        for (const auto& rEntry : mcIndexed)
            if (rEntry.first == nIndex)
                return rEntry.second;
        return mcDefault;
    }

    T read(bool abVerify, bool abIgnoreCache) const { return current().get(abVerify, abIgnoreCache); }

    // Writes the value; a floating variable just stores it.
    void write(T aValue, bool abVerify)
    {
        if (isFloating())
        {
            mcValue.setConstant(aValue);
            return;
        }
        const tcValueRef<T>& rTarget = current();
        rTarget.set(aValue, abVerify);
        if (!mpIndex)
            for (const auto& rCopy : mcCopies)
                rCopy.set(aValue, abVerify);
    }

    EAccessMode accessMode() const
    {
        if (isFloating())
            return RW;
        EAccessMode eMode = RW;
        if (mpIndex)
        {
            const EAccessMode eIndex = mpIndex->accessMode();
            if (eIndex == NI)
                return NI;
            if (!IsReadable(eIndex))
                return NA;
        }
        const tcValueRef<T>& rTarget = current();
        if (!rTarget.node())
            return rTarget.isSet() ? RO : NA;
        eMode = rTarget.node()->accessMode();
        if (!mpIndex)
            for (const auto& rCopy : mcCopies)
                eMode = Combine(eMode, rCopy.node()->accessMode());
        return eMode;
    }

private:
    tcValueRef<T> mcValue;
    std::vector<tcValueRef<T>> mcCopies;
    tcNode* mpIndex = nullptr;
    std::vector<std::pair<int64_t, tcValueRef<T>>> mcIndexed;
    tcValueRef<T> mcDefault;
};

} // namespace GenApi
