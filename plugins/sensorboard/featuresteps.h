#pragma once

#include <GenApi/GenApi.h>

#include <QRect>

// What the rectangle tools share: snapping to a feature's increment and
// writing or executing features only when the camera offers them. Every
// operation may throw GenICam exceptions; the tools catch them.
namespace tnFeatureSteps
{
// The feature's increment when it is a readable integer, otherwise 1.
int64_t step(const GenApi::CNodeMapRef& arMap, const char* apName);
// The largest multiple of the step not above the value (for values >= 0).
int snap(int anValue, int64_t anStep);
// Executes the command (verified) when the node is one.
void execute(const GenApi::CNodeMapRef& arMap, const char* apName);
// Writes the integer (verified) when it exists and is writable.
void write(const GenApi::CNodeMapRef& arMap, const char* apName, int64_t anValue);
// The integer's value when readable, otherwise 0.
int64_t value(const GenApi::CNodeMapRef& arMap, const char* apName);
} // namespace tnFeatureSteps
