#pragma once

// Comparisons of one benchmark against a baseline measured in the same run. After all
// benchmarks have run, brzdomat_bench prints each ratio of real time per iteration beside its
// goal. A goal missed is printed, not failed: timings belong to benchmarks, not to tests.

#include <string>

namespace brzdomat::bench {

// Registers "measured / baseline at most goal"; the names are full benchmark names as printed
// (with their arguments, e.g. "BM_LoadPicture/card").
bool CompareWithBaseline(std::string measured, std::string baseline, double goal);

} // namespace brzdomat::bench
