// ScriptReader: line-by-line reading of a script file.
#include "app/engine/ScriptReader.h"

#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace velloran {

bool ScriptReader::Open(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad())
        return false;
    m_text = contents.str();
    m_pos = 0;
    return true;
}

std::string ScriptReader::ReadLine()
{
    if (AtEnd())
        throw std::runtime_error("Input past end of file");
    const size_t end = m_text.find_first_of("\r\n", m_pos);
    std::string line = m_text.substr(m_pos, end == std::string::npos ? std::string::npos : end - m_pos);
    if (end == std::string::npos)
        m_pos = m_text.size();
    else
        m_pos = end + (m_text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return line;
}

int64_t ScriptReader::ReadNumber()
{
    const std::string line = ReadLine();
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos)
        throw std::runtime_error("Type mismatch");
    const bool negative = line[i] == '-';
    if (line[i] == '-' || line[i] == '+')
        ++i;
    const size_t digits = i;
    int64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (value > (std::numeric_limits<int64_t>::max() - 9) / 10)
            throw std::runtime_error("Overflow");
        value = value * 10 + (line[i] - '0');
    }
    if (i == digits || (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ','))
        throw std::runtime_error("Type mismatch");
    return negative ? -value : value;
}

}  // namespace velloran
