#pragma once
#include "descriptionbuilder.h"
#include "memoryport.h"

#include <GenApi/GenApi.h>

// A node map loaded from node elements and connected to a device in
// memory whose access counts start at zero.
struct tsDescribedDevice
{
    explicit tsDescribedDevice(const std::string& arNodes)
    {
        mcMap._LoadXMLFromString(describeNodes(arNodes).c_str());
        mcMap._Connect(&mcPort);
        mcPort.resetCounts();
    }
    GenApi::INode* node(const char* apName) const { return mcMap._GetNode(apName); }
    GenApi::CNodeMapRef mcMap;
    tcMemoryPort mcPort;
};
