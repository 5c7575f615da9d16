#pragma once
#include <GenApi/IValue.h>

namespace GenApi
{

class ICategory : virtual public IValue
{
public:
    virtual void GetFeatures(FeatureList_t& Features) const = 0;
};

} // namespace GenApi
