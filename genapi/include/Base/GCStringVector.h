#pragma once
#include <Base/GCString.h>

#include <vector>

namespace GenICam
{

// A list of texts, for example the symbolic names of an enumeration.
class gcstring_vector : public std::vector<gcstring>
{
public:
    using std::vector<gcstring>::vector;
};

} // namespace GenICam
