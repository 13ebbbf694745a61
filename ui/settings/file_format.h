// Spellings shared by the vorla.ini reader and writer.
#pragma once

#include <cstdint>

// `scaling` 0, 1, 2 as the file spells it.
constexpr int32_t kScalingCount = 3;
constexpr const char *kScalingNames[kScalingCount] = {"integer", "fit", "stretch"};
