#include "platform/graphics/screen_metrics.h"

namespace {
MainScreenMetrics& current() {
    static MainScreenMetrics metrics;
    return metrics;
}
} // namespace

const MainScreenMetrics& mainScreenMetrics() {
    return current();
}

void setMainScreenMetrics(MainScreenMetrics metrics) {
    current() = metrics;
}
