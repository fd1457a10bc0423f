// Temporary folders and small file helpers for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::test {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when
// the object goes away. Path() has no trailing "/".
class TempDir {
public:
    explicit TempDir(const std::string& tag = "t");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "/" + relative.
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

private:
    std::string m_path;
};

// Writes the bytes to the file, creating missing parent folders.
void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);
void MakeDirs(const std::string& path);
// Sets the last-write (and access) time to the given raw file time.
void SetFileTime(const std::string& path, int64_t rawFileTime);
int64_t GetFileTime(const std::string& path);
bool Exists(const std::string& path);
// Every entry below root, relative, sorted ("a/", "a/b.txt", ...).
std::vector<std::string> ListTree(const std::string& root);
void RemoveTree(const std::string& path);

}  // namespace velloran::test
