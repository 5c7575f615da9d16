#pragma once
#include <string>

// Wraps node elements into a complete description with a Root category and
// the Port "Device", so that tests can state only the nodes they are about.
std::string describeNodes(const std::string& arNodes, int anSchemaMinor = 1);
