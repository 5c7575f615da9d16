#include "descriptionbuilder.h"

std::string describeNodes(const std::string& arNodes, int anSchemaMinor)
{
    const std::string sVersion = anSchemaMinor == 0 ? "1_0" : "1_1";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<RegisterDescription ModelName=\"Test\" VendorName=\"Kestrix\" StandardNameSpace=\"None\" "
           "SchemaMajorVersion=\"1\" SchemaMinorVersion=\"" +
           std::to_string(anSchemaMinor) +
           "\" SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" SubMinorVersion=\"0\" "
           "ProductGuid=\"00000000-0000-0000-0000-000000000000\" "
           "VersionGuid=\"00000000-0000-0000-0000-000000000000\" "
           "xmlns=\"http://www.genicam.org/GenApi/Version_" +
           sVersion +
           "\">\n"
           "<Category Name=\"Root\" NameSpace=\"Standard\"><pFeature>Device</pFeature></Category>\n"
           "<Port Name=\"Device\" NameSpace=\"Standard\"/>\n" +
           arNodes + "\n</RegisterDescription>\n";
}
