// ScriptAssociation: Velloran script files (*.velloran) opened with Velloran.
// The settings store keeps the program's script class ("Velloran.Script",
// its icon and command) and the ".velloran" key pointing at it; the desktop
// gets what a file manager really uses: a MIME type for the scripts, a
// desktop entry that opens them with the program, and that entry as the
// type's default application, all in the user's own XDG folders.
#pragma once

#include <string>

namespace velloran {

class ScriptAssociation {
public:
    static constexpr const char* kMimeType = "application/x-velloran-script";
    static constexpr const char* kDesktopId = "velloran-script.desktop";

    // program: the path of the program that opens the scripts.
    explicit ScriptAssociation(std::string program);

    // The three "Velloran.Script" keys, rewritten on every apply so they
    // follow the program when it moves.
    void WriteScriptClass() const;
    // Velloran becomes the scripts' program: ".velloran" in the store, the
    // MIME type, the desktop entry and the default application, and the
    // desktop's databases refreshed.
    void Associate() const;
    // Takes back only what Associate made and still stands: ".velloran" when
    // it names "Velloran.Script", Velloran's desktop entry and default; the
    // MIME type stays while another program is the scripts' default, since
    // that association needs it.
    void Dissociate() const;

    // The files Associate writes, and the user's list of default applications.
    static std::string MimePackagePath();
    static std::string DesktopEntryPath();
    static std::string MimeAppsPath();

private:
    std::string DesktopEntryText() const;

    std::string m_program;
};

}  // namespace velloran
