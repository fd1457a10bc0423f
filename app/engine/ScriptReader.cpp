// ScriptReader: line-by-line reading of a script file.
#include "app/engine/ScriptReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <stdexcept>

namespace velloran {

bool ScriptReader::Open(const std::string& path)
{
    // O_NONBLOCK: a FIFO named as a script must not hang the open; it is refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string text;
    char buffer[65536];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!ok)
        return false;
    m_text = std::move(text);
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
    // A path with a NUL in it would be checked up to the NUL and used whole
    // elsewhere; no folder or flag holds one.
    if (line.find('\0') != std::string::npos)
        throw std::runtime_error("NUL in a script line");
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
