#pragma once
// Fixed-width integer types used throughout the node-map interfaces.
#include <cstddef>
#include <cstdint>
