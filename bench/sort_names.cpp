// Times sorting a list of names (one per line in a file) with
// CGeneral::CompareStr, case-insensitive, and with strcasecmp as the
// byte-level baseline, both in memory. Prints "names compare_ns strcasecmp_ns"
// (medians of the given number of runs).
#include "classlib/general/CGeneral.h"

#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

template <typename Less>
long long MedianSortTime(const std::vector<std::string>& names, int runs, Less less)
{
    std::vector<long long> times;
    for (int i = 0; i < runs; ++i) {
        std::vector<std::string> copy = names;
        const auto start = std::chrono::steady_clock::now();
        std::sort(copy.begin(), copy.end(), less);
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: %s NAMES-FILE RUNS\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);)
        names.push_back(line);
    const int runs = std::atoi(argv[2]);
    const quorvantell::CGeneral general;
    const long long compare = MedianSortTime(names, runs, [&general](const std::string& a, const std::string& b) {
        return general.CompareStr(a, b, false) < 0;
    });
    const long long baseline = MedianSortTime(names, runs, [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    std::printf("%zu %lld %lld\n", names.size(), compare, baseline);
    return 0;
}
