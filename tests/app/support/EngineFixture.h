// EngineFixture: a sync engine with a recording host over two fresh
// folders, "left" and "right", below a temporary folder.
#pragma once

#include "app/engine/CSync.h"
#include "tests/app/support/RecordingHost.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace velloran::test {

// 2025-06-01 10:00:00 UTC as a raw file time.
constexpr int64_t kBaseTime = (1'748'772'000LL + 11'644'473'600LL) * 10'000'000LL;
constexpr int64_t kMs = 10'000;
constexpr int64_t kSecond = 1000 * kMs;
constexpr int64_t kMinute = 60 * kSecond;

class EngineFixture : public ::testing::Test {
protected:
    EngineFixture();

    // side 0 left, 1 right; missing folders are made.
    std::string Root(int side) const { return side == 0 ? m_left : m_right; }
    std::string PathOf(int side, const std::string& relative) const { return Root(side) + "/" + relative; }
    void Put(int side, const std::string& relative, const std::string& contents, int64_t time = kBaseTime);
    void Folder(int side, const std::string& relative);

    // checkFoldersValid, then the scan and the comparison as the details
    // window runs them (filterDots true).
    void ScanAndCompare(bool filterDots = true);
    // syncWay of the file pair whose key is `relative`; -1 when there is none.
    int32_t WayOf(const std::string& relative);
    int32_t FolderWayOf(const std::string& relative);

    TempDir m_temp{"engine"};
    std::string m_left;
    std::string m_right;
    RecordingHost host;
    CSync sync{host};
};

}  // namespace velloran::test
