// Desktop entries as the freedesktop Desktop Entry Specification reads them:
// string escapes first, then the Exec line's quoting, then its field codes.
#include "classlib/files/DesktopEntry.h"

#include "classlib/files/Launcher.h"

#include <algorithm>
#include <fstream>
#include <string_view>

namespace quorvantell {

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The escapes of string values (\s \n \t \r \\); others stay for the Exec
// line's own quoting rule.
std::string Unescaped(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[++i];
        switch (next) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += next; break;
        }
    }
    return out;
}

std::vector<std::string> ListValue(const std::string& value)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start < value.size()) {
        const size_t end = std::min(value.find(';', start), value.size());
        if (end > start)
            items.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::Read(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    DesktopEntry entry;
    entry.m_path = path;
    bool inGroup = false;
    bool found = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inGroup = line == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        const size_t equals = line.find('=');
        if (inGroup && equals != std::string::npos)
            entry.Set(Trimmed(line.substr(0, equals)), Unescaped(Trimmed(line.substr(equals + 1))));
    }
    if (!found)
        return std::nullopt;
    return entry;
}

void DesktopEntry::Set(const std::string& key, const std::string& value)
{
    // Localised keys ("Name[de]") are other keys: the plain name is used.
    if (key == "Type")
        m_type = value;
    else if (key == "Name")
        m_name = value;
    else if (key == "Exec")
        m_exec = value;
    else if (key == "TryExec")
        m_tryExec = value;
    else if (key == "Icon")
        m_icon = value;
    else if (key == "MimeType")
        m_mimeTypes = ListValue(value);
    else if (key == "Hidden")
        m_hidden = value == "true";
    else if (key == "Terminal")
        m_terminal = value == "true";
}

bool DesktopEntry::Usable() const
{
    return m_type == "Application" && !m_hidden && !m_exec.empty() &&
           (m_tryExec.empty() || !ProgramPath(m_tryExec).empty());
}

bool DesktopEntry::Opens(const std::string& mimeType) const
{
    return std::find(m_mimeTypes.begin(), m_mimeTypes.end(), mimeType) != m_mimeTypes.end();
}

std::string DesktopEntry::Expanded(const std::string& argument, const std::string& file, bool& fileGiven) const
{
    std::string out;
    for (size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%' || i + 1 == argument.size()) {
            out += argument[i];
            continue;
        }
        const char code = argument[++i];
        if (std::string_view("fFuU").find(code) != std::string_view::npos) {
            out += file;
            fileGiven = true;
        } else if (code == 'c') {
            out += m_name;
        } else if (code == 'k') {
            out += m_path;
        } else if (code == '%') {
            out += '%';
        }
        // The deprecated codes (%d %D %n %N %v %m) stand for nothing.
    }
    return out;
}

std::vector<std::string> DesktopEntry::Command(const std::string& file) const
{
    std::vector<std::string> argv;
    if (m_terminal)
        argv = {"x-terminal-emulator", "-e"};
    bool fileGiven = false;
    for (const std::string& argument : SplitParameters(m_exec)) {
        if (argument == "%i") {
            if (!m_icon.empty())
                argv.insert(argv.end(), {"--icon", m_icon});
            continue;
        }
        std::string expanded = Expanded(argument, file, fileGiven);
        if (!expanded.empty() || argument.empty())
            argv.push_back(std::move(expanded));
    }
    if (!fileGiven)
        argv.push_back(file);
    return argv;
}

}  // namespace quorvantell
