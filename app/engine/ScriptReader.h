// ScriptReader: the lines of a script file, read whole at the start. A line
// ends with CR LF, a lone CR or a lone LF; the bytes of a line are kept as
// they are (folder names are bytes).
#pragma once

#include <cstdint>
#include <string>

namespace velloran {

class ScriptReader {
public:
    // False when the path is not a file that can be read.
    bool Open(const std::string& path);
    // True when no characters are left.
    bool AtEnd() const { return m_pos >= m_text.size(); }
    // The next line; std::runtime_error when reading past the end or when
    // the line holds a NUL.
    std::string ReadLine();
    // The next line read as a number: leading blanks, an optional sign and
    // digits, then the end of the line or a blank, comma or tab and anything.
    // std::runtime_error when the line holds no such number.
    int64_t ReadNumber();

private:
    std::string m_text;
    size_t m_pos = 0;
};

}  // namespace velloran
