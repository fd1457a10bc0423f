// A temporary folder for a test, with its path as the bytes the file system
// uses (symbolic links in the temporary location resolved), so it compares
// with the paths the program hands back. Removed by bytes, so names that are
// not UTF-8 go too.
#pragma once

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <system_error>

namespace velloran::test {

class TempFolder {
public:
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::string& Root() const { return m_root; }

private:
    QTemporaryDir m_dir;
    std::string m_root = QFile::encodeName(QFileInfo(m_dir.path()).canonicalFilePath()).toStdString();
};

}  // namespace velloran::test
