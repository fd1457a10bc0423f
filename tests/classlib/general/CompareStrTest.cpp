// Tests of CGeneral::CompareStr: the case rule, non-ASCII letters, bytes
// that are not UTF-8, and that the case-sensitive form is a total order
// (sorting with it must not depend on the input order).
#include "classlib/general/CGeneral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using quorvantell::CGeneral;

namespace {

const CGeneral general;

int Cmp(std::string_view a, std::string_view b, bool caseSensitive)
{
    return general.CompareStr(a, b, caseSensitive);
}

// A mix of ASCII, Latin, Greek and Cyrillic letters in several cases,
// special case pairs (long s, Kelvin sign, the dz digraphs), prefixes,
// empty text and invalid UTF-8.
const std::vector<std::string> kSample = {
    "", "a", "A", "ab", "aB", "Ab", "AB", "abc", "ABC", "abd", "Apple", "apple", "Banana", "banana", "b",
    "é", "É", "e", "E", "école", "ÉCOLE", "Ecole", "ölfass", "Ölfass", "olfass", "zebra",
    "σ", "ς", "Σ", "ſ", "s", "S", "K", "\u212A", "k", "ǆ", "ǅ", "Ǆ", "я", "Я", "中", "中文",
    "\xFF", "\xFE", "a\xFF", "a\x80", "\xC3", "\xC3\xA9\xFF", "\xE0\x80\x80", "\xED\xA0\x80", "ÿ", "a.txt", "B.txt",
    "c.txt", "a\tb", "a b", "a_b", "a-b", "一", "x\U0001F600a", "x\U0001F601a", "folder/sub/naïve",
    "folder/sub/naÏve", "folder/sub/naive", "\u212Aa", "kb",
};

}  // namespace

TEST(CompareStr, CaseRuleOfTheCaseSensitiveForm)
{
    EXPECT_EQ(Cmp("abc", "ABC", true), 1);
    EXPECT_EQ(Cmp("ABC", "abc", true), -1);
    EXPECT_EQ(Cmp("abc", "ABC", false), 0);
    EXPECT_EQ(Cmp("ab", "abc", true), -1);
    EXPECT_EQ(Cmp("ab", "abc", false), -1);
    EXPECT_EQ(Cmp("abc", "ab", true), 1);
    EXPECT_EQ(Cmp("same", "same", true), 0);
    EXPECT_EQ(Cmp("", "", true), 0);
    EXPECT_EQ(Cmp("", "a", false), -1);
    // Apple before apple before Banana.
    EXPECT_EQ(Cmp("Apple", "apple", true), -1);
    EXPECT_EQ(Cmp("apple", "Banana", true), -1);
    EXPECT_EQ(Cmp("Apple", "Banana", true), -1);
    // The first difference in case decides at once, before later letters.
    EXPECT_EQ(Cmp("ab", "AC", true), 1);
    EXPECT_EQ(Cmp("ab", "AC", false), -1);
}

TEST(CompareStr, CaseInsensitiveOrderOfFileNames)
{
    EXPECT_EQ(Cmp("a.txt", "B.txt", false), -1);
    EXPECT_EQ(Cmp("B.txt", "c.txt", false), -1);
    EXPECT_EQ(Cmp("README.md", "Readme.md", false), 0);
    EXPECT_EQ(Cmp("README.md", "Readme.md", true), -1);
}

TEST(CompareStr, NonAsciiLettersFoldTheirCase)
{
    EXPECT_EQ(Cmp("école", "ÉCOLE", false), 0);
    EXPECT_EQ(Cmp("ÉCOLE", "école", true), -1);
    EXPECT_EQ(Cmp("école", "ÉCOLE", true), 1);
    EXPECT_EQ(Cmp("Я", "я", false), 0);
    EXPECT_EQ(Cmp("я", "Я", true), 1);
    EXPECT_EQ(Cmp("Ölfass", "olfass", false), 1);  // ö comes after o
    EXPECT_EQ(Cmp("e", "é", false), -1);
    // Final sigma and the Kelvin sign fold like their ordinary letters.
    EXPECT_EQ(Cmp("ς", "Σ", false), 0);
    EXPECT_EQ(Cmp("\u212A", "k", false), 0);
    // Characters that share their first bytes are compared whole.
    EXPECT_EQ(Cmp("中", "一", false), 1);
    EXPECT_EQ(Cmp("x\U0001F600a", "x\U0001F601a", true), -1);
    EXPECT_EQ(Cmp("folder/sub/naïve", "folder/sub/naÏve", false), 0);
    EXPECT_EQ(Cmp("folder/sub/naïve", "folder/sub/naÏve", true), 1);
    EXPECT_EQ(Cmp("\u212Aa", "kb", false), -1);  // folded letters of different byte lengths
    // Both lower case, one letter: still distinct in the case-sensitive form.
    EXPECT_NE(Cmp("σ", "ς", true), 0);
    EXPECT_EQ(Cmp("σ", "ς", true), -Cmp("ς", "σ", true));
}

TEST(CompareStr, BytesThatAreNotUtf8SortAfterEveryCharacter)
{
    EXPECT_EQ(Cmp("a\xFF", "a\xFE", false), 1);
    EXPECT_EQ(Cmp("\xFF", "ÿ", false), 1);  // the byte 0xFF is not U+00FF
    EXPECT_EQ(Cmp("\xFF", "ÿ", true), 1);
    EXPECT_EQ(Cmp("\x80", "中", false), 1);
    EXPECT_EQ(Cmp("\xC3", "\xC3\xA9", false), 1);  // a cut-short sequence
    EXPECT_EQ(Cmp("\xE0\x80\x80", "\xE0\x80\x80", true), 0);
    EXPECT_EQ(Cmp("caf\xE9", "café", true), 1);  // Latin-1 and UTF-8 names stay distinct
}

TEST(CompareStr, ResultsAreAntisymmetric)
{
    for (const auto& a : kSample) {
        for (const auto& b : kSample) {
            for (const bool sensitive : {false, true}) {
                ASSERT_EQ(Cmp(a, b, sensitive), -Cmp(b, a, sensitive)) << a << " / " << b << " " << sensitive;
                if (sensitive) {
                    ASSERT_EQ(Cmp(a, b, true) == 0, a == b) << a << " / " << b;
                }
            }
        }
    }
}

TEST(CompareStr, BothFormsAreTransitive)
{
    for (const bool sensitive : {false, true}) {
        for (const auto& a : kSample) {
            for (const auto& b : kSample) {
                const int ab = Cmp(a, b, sensitive);
                for (const auto& c : kSample) {
                    const int bc = Cmp(b, c, sensitive);
                    if (ab <= 0 && bc <= 0) {
                        ASSERT_LE(Cmp(a, c, sensitive), std::min(ab, bc)) << a << " " << b << " " << c;
                    }
                }
            }
        }
    }
}

TEST(CompareStr, SortingDoesNotDependOnTheInputOrder)
{
    const auto less = [](const std::string& a, const std::string& b) { return Cmp(a, b, true) < 0; };
    std::vector<std::string> first = kSample, second = kSample;
    std::shuffle(first.begin(), first.end(), std::mt19937(1));
    std::shuffle(second.begin(), second.end(), std::mt19937(2));
    std::sort(first.begin(), first.end(), less);
    std::sort(second.begin(), second.end(), less);
    EXPECT_EQ(first, second);
    for (size_t i = 1; i < first.size(); ++i)
        EXPECT_EQ(Cmp(first[i - 1], first[i], true), -1) << first[i - 1] << " / " << first[i];
}
