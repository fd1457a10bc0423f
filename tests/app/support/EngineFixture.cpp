#include "tests/app/support/EngineFixture.h"

namespace velloran::test {

namespace {

int32_t WayIn(CVellList& list, const std::string& relative)
{
    for (int32_t i = 0; i < list.nVells(); ++i) {
        CVell pair = list.vell(i);
        if (pair.File(0) == relative || (pair.File(0).empty() && pair.File(1) == relative))
            return pair.syncWay();
    }
    return -1;
}

}  // namespace

EngineFixture::EngineFixture() : m_left(m_temp / "left"), m_right(m_temp / "right")
{
    MakeDirs(m_left);
    MakeDirs(m_right);
    host.Attach(sync);
    host.SetFolders(m_left, m_right);
}

void EngineFixture::Put(int side, const std::string& relative, const std::string& contents, int64_t time)
{
    WriteFile(PathOf(side, relative), contents);
    SetFileTime(PathOf(side, relative), time);
}

void EngineFixture::Folder(int side, const std::string& relative)
{
    MakeDirs(PathOf(side, relative));
}

void EngineFixture::ScanAndCompare(bool filterDots)
{
    ASSERT_TRUE(sync.checkFoldersValid());
    sync.progressBar = &host.ProgressBar();
    sync.ScanLocal(host.StatusLabel(), filterDots);
    sync.CompareLists(host.StatusLabel());
}

int32_t EngineFixture::WayOf(const std::string& relative)
{
    return WayIn(sync.m_arrFile, relative);
}

int32_t EngineFixture::FolderWayOf(const std::string& relative)
{
    return WayIn(sync.m_arrDir, relative);
}

}  // namespace velloran::test
