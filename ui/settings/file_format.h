// Spellings shared by the vorla.ini reader and writer.
#pragma once

#include <cstdint>

#include "settings.h"

// `scaling` (vl_scaling) as the file spells it.
constexpr int32_t kScalingCount = kScalingStretch + 1;
constexpr const char *kScalingNames[kScalingCount] = {"integer", "fit", "stretch"};

// `delay` kDelayAuto as the file spells it (exactly, letter case included).
constexpr const char *kDelayAutoName = "auto";
