#pragma once
#include <GenApi/IBase.h>

namespace GenApi
{

// Features whose meaning depends on this one (and the reverse).
class ISelector : virtual public IBase
{
public:
    virtual bool IsSelector() const = 0;
    virtual void GetSelectedFeatures(FeatureList_t& Features) const = 0;
    virtual void GetSelectingFeatures(FeatureList_t& Features) const = 0;
};

} // namespace GenApi
