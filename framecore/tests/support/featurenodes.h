#pragma once

#include "memoryport.h"

#include <GenApi/GenApi.h>

#include <memory>
#include <string>

// A small node map over a memory port with one feature of each kind the
// feature-bound widgets handle, including the awkward ones: limits beyond
// 32 bits, read-only and unavailable features, and an enumeration whose
// last entry the camera refuses.
class tcFeatureNodes
{
public:
    tcFeatureNodes()
    {
        mcMap._LoadXMLFromString(description().c_str());
        mcMap._Connect(&mcPort, "Device");
    }
    tcFeatureNodes(const tcFeatureNodes&) = delete;
    tcFeatureNodes& operator=(const tcFeatureNodes&) = delete;

    GenApi::INode* node(const char* apName) const { return mcMap._GetNode(apName); }
    GenApi::CNodeMapRef& map() { return mcMap; }
    tcMemoryPort& port() { return mcPort; }

private:
    static std::string description()
    {
        return R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Widgets" VendorName="Kestrix" StandardNameSpace="None"
  SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" MinorVersion="0"
  SubMinorVersion="0" ProductGuid="00000000-0000-0000-0000-000000000000"
  VersionGuid="00000000-0000-0000-0000-000000000000" xmlns="http://www.genicam.org/GenApi/Version_1_1">
<Category Name="Root" NameSpace="Standard"><pFeature>Stepped</pFeature></Category>
<Port Name="Device" NameSpace="Standard"/>
<Integer Name="Never"><Value>0</Value></Integer>
<Integer Name="Stepped"><Description>Step size</Description><Value>0</Value><Min>0</Min><Max>1000</Max><Inc>16</Inc></Integer>
<Integer Name="Plain"><Value>3</Value><Min>-10</Min><Max>10</Max></Integer>
<IntReg Name="Wide"><Address>0x100</Address><Length>4</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Integer Name="Deep"><Value>-7</Value><Min>-5000000000</Min><Max>0</Max></Integer>
<IntReg Name="ReadOnly"><Address>0x110</Address><Length>4</Length><AccessMode>RO</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Integer Name="Absent"><pIsAvailable>Never</pIsAvailable><Value>1</Value></Integer>
<Float Name="Exposure"><Description>Exposure in seconds</Description><Value>0.005</Value><Min>0</Min><Max>1</Max></Float>
<Float Name="Gain"><Value>2.5</Value><Min>0.5</Min><Max>24</Max></Float>
<FloatReg Name="RegFloat"><Address>0x200</Address><Length>4</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Endianess>LittleEndian</Endianess></FloatReg>
<Float Name="AbsentFloat"><pIsAvailable>Never</pIsAvailable><Value>1</Value></Float>
<IntReg Name="ModeReg"><Address>0x120</Address><Length>4</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Enumeration Name="Mode">
  <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
  <EnumEntry Name="Hidden"><pIsAvailable>Never</pIsAvailable><Value>5</Value></EnumEntry>
  <EnumEntry Name="On"><Value>1</Value></EnumEntry>
  <pValue>ModeReg</pValue>
</Enumeration>
<Integer Name="BoundedValue"><Value>0</Value><Min>0</Min><Max>1</Max></Integer>
<Enumeration Name="Bounded">
  <EnumEntry Name="A"><Value>0</Value></EnumEntry>
  <EnumEntry Name="B"><Value>1</Value></EnumEntry>
  <EnumEntry Name="C"><Value>2</Value></EnumEntry>
  <pValue>BoundedValue</pValue>
</Enumeration>
<IntReg Name="FixedModeReg"><Address>0x130</Address><Length>4</Length><AccessMode>RO</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Enumeration Name="FixedMode">
  <EnumEntry Name="X"><Value>0</Value></EnumEntry>
  <EnumEntry Name="Y"><Value>1</Value></EnumEntry>
  <pValue>FixedModeReg</pValue>
</Enumeration>
</RegisterDescription>
)";
    }

    GenApi::CNodeMapRef mcMap{"Device"};
    tcMemoryPort mcPort;
};
