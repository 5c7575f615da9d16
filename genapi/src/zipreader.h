#pragma once
#include <cstddef>
#include <string>

namespace GenApi
{

// Extracts the description from a zipped file held in memory.
class tcZipReader
{
public:
    // Returns the text of the XML entry; raises a GenICam exception when the
    // data is no readable zip or holds no description.
    static std::string extractDescription(const void* apData, size_t anSize);
};

} // namespace GenApi
