// The median of repeated runs of a benchmark with their spread (the lowest and the
// highest run).
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

struct Spread {
    double median;
    double low;
    double high;

    static Spread Of(std::vector<double> runs)
    {
        std::sort(runs.begin(), runs.end());
        return Spread{ runs[runs.size() / 2], runs.front(), runs.back() };
    }

    // "12.3 (11.9..14.0)"
    void Print(const char* format = "%.1f") const
    {
        char text[96];
        char pattern[32];
        snprintf(pattern, sizeof pattern, "%s (%s..%s)", format, format, format);
        snprintf(text, sizeof text, pattern, median, low, high);
        printf("%24s", text);
    }
};

// Milliseconds on the performance counter.
inline double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
