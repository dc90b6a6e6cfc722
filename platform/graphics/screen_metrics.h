// The main screen's bounds and scale as graphics needs them (scale 0 in an image context means
// the main screen's). The screen's owner keeps these up to date; the default is a 390 x 844
// point screen at scale 3.
#pragma once

#include "platform/graphics/geometry.h"

struct MainScreenMetrics {
    CGRect bounds = {{0, 0}, {390, 844}};
    CGFloat scale = 3;
};
const MainScreenMetrics& mainScreenMetrics();
void setMainScreenMetrics(MainScreenMetrics metrics);
