// DesktopEntry: one application as a freedesktop desktop entry describes it
// (the [Desktop Entry] group of a .desktop file): its name, the MIME types it
// opens, and the command line that opens a file with it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvantell {

class DesktopEntry {
public:
    // The entry in the file; nothing when the file cannot be read or has no
    // [Desktop Entry] group.
    static std::optional<DesktopEntry> Read(const std::string& path);

    // An application that can be started: Type=Application, not Hidden
    // (a deleted entry), an Exec line, and a TryExec program that exists.
    bool Usable() const;
    bool Opens(const std::string& mimeType) const;
    const std::string& Name() const { return m_name; }
    // The Icon line: a theme icon name or a picture's path.
    const std::string& Icon() const { return m_icon; }
    // The arguments that open file: the Exec line with its field codes
    // filled in (the file is added when the line names none), started in a
    // terminal for a Terminal=true entry.
    std::vector<std::string> Command(const std::string& file) const;

private:
    void Set(const std::string& key, const std::string& value);
    // One argument of the Exec line with its field codes filled in.
    std::string Expanded(const std::string& argument, const std::string& file, bool& fileGiven) const;

    std::string m_path;
    std::string m_type;
    std::string m_name;
    std::string m_exec;
    std::string m_tryExec;
    std::string m_icon;
    std::vector<std::string> m_mimeTypes;
    bool m_hidden = false;
    bool m_terminal = false;
};

}  // namespace quorvantell
