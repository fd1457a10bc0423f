// Shell wildcard matching for file specifications.
#include "classlib/files/WildcardMatch.h"

namespace quorvantell {

bool WildcardMatch(std::string_view pattern, std::string_view text)
{
    // Greedy match with one backtrack point: the last "*" seen.
    size_t p = 0, t = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool MatchSpecList(std::string_view text, std::string_view spec)
{
    size_t start = 0;
    while (start <= spec.size()) {
        size_t end = spec.find(';', start);
        if (end == std::string_view::npos)
            end = spec.size();
        std::string_view one = spec.substr(start, end - start);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        if (!one.empty() && (one == "*.*" || WildcardMatch(one, text)))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace quorvantell
