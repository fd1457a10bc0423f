// Times CFile::CountFiles on one folder: one warm-up call, then the given
// number of timed calls. Prints "folders files best_ns median_ns".
#include "classlib/files/CFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: %s FOLDER/ REPETITIONS\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const int repetitions = std::atoi(argv[2]);
    quorvantell::CFile file;
    int32_t folders = 0, files = 0;
    file.CountFiles(folder, folders, files);
    std::vector<long long> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        file.CountFiles(folder, folders, files);
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%d %d %lld %lld\n", folders, files, times.front(), times[times.size() / 2]);
    return 0;
}
