// This test program started again at another screen scale, as Wine reads the DPI (the
// registry's LogPixels) when a process starts: the run executes the tests a filter
// selects, and its output tells which of them passed.
#pragma once
#include <windows.h>

#include <set>
#include <string>

// The child run's DPI: the environment variable the run for one DPI is started with.
const char kScaleVariable[] = "VELDB_TEST_DPI";

struct ScaledRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
    std::set<std::string> passed;      // "Suite.Name" of each "[       OK ]" line

    // Runs `filter` (a --gtest_filter) at `dpi` and reads its output to the end.
    static ScaledRun Start(UINT dpi, const std::string& filter);
    // The DPI this process was started for as a child run; 0 when it is none.
    static UINT DpiOfThisRun();
    // The row of a table of sizes for the DPI of this run; none outside a child run.
    template <typename Row, size_t N>
    static const Row* RowOfThisRun(const Row (&table)[N])
    {
        for (const Row& row : table)
            if (row.dpi == DpiOfThisRun())
                return &row;
        return nullptr;
    }

    // Expects a clean exit with exactly `tests` passed, and prints how many did.
    void ExpectRan(UINT dpi, const std::set<std::string>& tests) const;
};
