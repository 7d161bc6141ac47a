#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Runs `work` `runs` times (after a few warm-up runs) and prints the median and the
// spread in microseconds, with the goal beside it when one is given.
inline double reportMedian(const char *what, int runs, const std::function<void()> &work,
                           double goalMicroseconds = 0.0)
{
    for (int i = 0; i < 3; ++i)
        work();
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(runs));
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        work();
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    std::printf("%-58s median %9.1f us  (min %.1f, max %.1f, %d runs)", what, median,
                samples.front(), samples.back(), runs);
    if (goalMicroseconds > 0.0)
        std::printf("  goal <= %.0f us: %s", goalMicroseconds,
                    median <= goalMicroseconds ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
    return median;
}
