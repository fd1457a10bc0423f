// CFile's path-string members and wildcard specifications.
#include "classlib/files/CFile.h"

#include <gtest/gtest.h>

using quorvantell::CFile;

TEST(CFilePath, SlashesAndNames)
{
    CFile f;
    EXPECT_EQ(f.AddSlash(""), "/");
    EXPECT_EQ(f.AddSlash("/data"), "/data/");
    EXPECT_EQ(f.AddSlash("/data/"), "/data/");
    EXPECT_EQ(f.StripSlash("/"), "");
    EXPECT_EQ(f.StripSlash("/data/"), "/data");
    EXPECT_EQ(f.FileNameFromPath("/data/x.txt"), "x.txt");
    EXPECT_EQ(f.FileNameFromPath("/data/"), "");
    EXPECT_EQ(f.FileNameFromPath("plain"), "plain");
    EXPECT_EQ(f.PathOnly("/data/x.txt"), "/data/");
    EXPECT_EQ(f.PathOnly("x.txt"), "");
}

TEST(CFilePath, ExtensionsTakeTheLastDot)
{
    CFile f;
    EXPECT_EQ(f.FileExt("archive.tar.gz"), "gz");
    EXPECT_EQ(f.FileExt("README"), "");
    EXPECT_EQ(f.StripExt("a.b/c"), "a");
    EXPECT_EQ(f.StripExt("README"), "README");
    EXPECT_EQ(f.FileTitle("/data/report.final.pdf"), "report.final");
}

TEST(CFilePath, StripQuotes)
{
    CFile f;
    EXPECT_EQ(f.StripQuotes("\"a b\""), "a b");
    EXPECT_EQ(f.StripQuotes("\"\""), "");
    EXPECT_EQ(f.StripQuotes("\""), "");
    EXPECT_EQ(f.StripQuotes("a b\""), "a b\"");
}

TEST(CFilePath, ComparisonsAreExactOnLinux)
{
    CFile f;
    EXPECT_TRUE(f.PathsSame("/Data/", "/Data"));
    EXPECT_FALSE(f.PathsSame("/Data/", "/data"));
    EXPECT_EQ(f.PathRelativePart("/Data", "/Data/x.txt"), "/x.txt");
    EXPECT_EQ(f.PathRelativePart("/Data/", "/Data/x.txt"), "x.txt");
    EXPECT_EQ(f.PathRelativePart("/Other/", "/Data/x.txt"), "/Data/x.txt");
    EXPECT_EQ(f.PathRelativePart("/data/", "/Data/x.txt"), "/Data/x.txt");
}

TEST(CFilePath, MakeValidFilenameDropsReservedCharacters)
{
    CFile f;
    EXPECT_EQ(f.MakeValidFilename("a:b*c?.txt"), "abc.txt");
    EXPECT_EQ(f.MakeValidFilename("x/y\\z\"<>|"), "xyz");
    EXPECT_EQ(f.MakeValidFilename(""), "");
    // U+213A is E2 84 BA in UTF-8: no byte of it is reserved.
    EXPECT_EQ(f.MakeValidFilename("\xE2\x84\xBA:"), "\xE2\x84\xBA");
}

TEST(CFilePath, KindsOfPath)
{
    CFile f;
    EXPECT_TRUE(f.PathIsRelative("a/b"));
    EXPECT_FALSE(f.PathIsRelative("/a/b"));
    EXPECT_TRUE(f.PathIsURL("ftp://host/dir/"));
    EXPECT_TRUE(f.PathIsURL("http://example.org"));
    EXPECT_FALSE(f.PathIsURL("/tmp/a:b"));
    EXPECT_FALSE(f.PathIsURL("c:/x"));
    EXPECT_TRUE(f.IsDrive("/"));
    EXPECT_TRUE(f.IsDrive("//server/"));
    EXPECT_FALSE(f.IsDrive("//server/share/"));
    EXPECT_FALSE(f.IsDrive("/home/"));
    EXPECT_EQ(f.GetLongPath("/a/b"), "/a/b");
    EXPECT_EQ(f.GetShortPath("/a/b"), "/a/b");
}

TEST(CFilePath, MatchSpec)
{
    CFile f;
    EXPECT_TRUE(f.MatchSpec("notes.txt", "*.txt"));
    EXPECT_FALSE(f.MatchSpec("notes.txt.bak", "*.txt"));
    EXPECT_TRUE(f.MatchSpec("README", "*.*"));
    EXPECT_TRUE(f.MatchSpec("a.doc", "*.txt; *.doc"));
    EXPECT_TRUE(f.MatchSpec("ab1.c", "a?1.*"));
    EXPECT_FALSE(f.MatchSpec("NOTES.TXT", "*.txt"));
    EXPECT_FALSE(f.MatchSpec("x", ""));
    EXPECT_TRUE(f.MatchSpec("aaaaab", "*a*ab"));
}
