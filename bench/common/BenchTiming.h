#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

// Timing helpers the benchmarks share.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double TimeMs(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}
