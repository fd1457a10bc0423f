// ScriptAssociation: the store's keys through CRegistry; on the desktop a
// shared-mime-info package, a desktop entry and the [Default Applications]
// group of mimeapps.list, each file replaced whole so a crash never leaves
// one half written.
#include "app/shell/ScriptAssociation.h"

#include "app/views/WindowSettings.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velloran {

namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kScriptClass = "Velloran.Script";
constexpr const char* kExtensionKey = ".velloran";
constexpr const char* kDefaultGroup = "[Default Applications]";

constexpr const char* kMimePackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"application/x-velloran-script\">\n"
    "    <comment>Velloran script</comment>\n"
    "    <glob pattern=\"*.velloran\"/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString Path(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool WriteWhole(const std::string& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(Path(path)).absolutePath());
    QSaveFile file(Path(path));
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit();
}

// The program as one argument of an Exec line: quoted, with the characters
// a quoted argument escapes, then with the escapes of a string value.
std::string ExecArgument(const std::string& program)
{
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted)
        value += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return value;
}

// mimeapps.list as lines, with the script type's line in its default group.
class MimeAppsList {
public:
    MimeAppsList()
    {
        QFile file(Path(ScriptAssociation::MimeAppsPath()));
        if (file.open(QIODevice::ReadOnly))
            m_lines = file.readAll().split('\n');
        if (!m_lines.isEmpty() && m_lines.back().isEmpty())
            m_lines.removeLast();
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const QByteArray line = m_lines[i].trimmed();
            if (line.startsWith('[')) {
                m_inGroup = line == kDefaultGroup;
                if (m_inGroup)
                    m_group = i;
            } else if (m_inGroup && line.startsWith(QByteArray(ScriptAssociation::kMimeType) + '=')) {
                m_line = i;
            }
        }
    }

    // The applications the type's default line names, in order.
    QList<QByteArray> Defaults() const
    {
        QList<QByteArray> apps;
        if (m_line >= 0) {
            const QByteArray& line = m_lines[m_line];
            for (const QByteArray& app : line.mid(line.indexOf('=') + 1).trimmed().split(';'))
                if (!app.isEmpty())
                    apps.push_back(app);
        }
        return apps;
    }

    void SetDefaults(const QList<QByteArray>& apps)
    {
        const QByteArray line = QByteArray(ScriptAssociation::kMimeType) + '=' + apps.join(';') + ';';
        if (apps.isEmpty()) {
            if (m_line >= 0)
                m_lines.removeAt(m_line);
        } else if (m_line >= 0) {
            m_lines[m_line] = line;
        } else if (m_group >= 0) {
            m_lines.insert(m_group + 1, line);
        } else {
            m_lines << kDefaultGroup << line;
        }
    }

    bool Save() const { return WriteWhole(ScriptAssociation::MimeAppsPath(), m_lines.join('\n') + '\n'); }

private:
    QList<QByteArray> m_lines;
    qsizetype m_group = -1;
    qsizetype m_line = -1;
    bool m_inGroup = false;
};

}  // namespace

ScriptAssociation::ScriptAssociation(std::string program) : m_program(std::move(program)) {}

std::string ScriptAssociation::MimePackagePath()
{
    return Local(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           "/mime/packages/velloran-script.xml";
}

std::string ScriptAssociation::DesktopEntryPath()
{
    return Local(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + "/applications/" +
           kDesktopId;
}

std::string ScriptAssociation::MimeAppsPath()
{
    return Local(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) + "/mimeapps.list";
}

void ScriptAssociation::WriteScriptClass() const
{
    const std::string key = kScriptClass;
    Registry().SetKeyStr(eRegBaseKey::HKCR, key, "", "Velloran script");
    Registry().SetKeyStr(eRegBaseKey::HKCR, key + "\\DefaultIcon", "", m_program + ",1");
    Registry().SetKeyStr(eRegBaseKey::HKCR, key + "\\Shell\\Run\\Command", "", m_program + " %1");
}

std::string ScriptAssociation::DesktopEntryText() const
{
    // Hidden from the menus: the program's own entry is there already.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velloran\n"
           "Comment=Run a Velloran script\n"
           "Exec=" + ExecArgument(m_program) + " %f\n"
           "Icon=velloran\n"
           "MimeType=" + std::string(kMimeType) + ";\n"
           "NoDisplay=true\n"
           "Terminal=false\n";
}

void ScriptAssociation::Associate() const
{
    Registry().SetKeyStr(eRegBaseKey::HKCR, kExtensionKey, "", kScriptClass);
    WriteWhole(MimePackagePath(), kMimePackage);
    WriteWhole(DesktopEntryPath(), QByteArray::fromStdString(DesktopEntryText()));
    MimeAppsList list;
    QList<QByteArray> apps = list.Defaults();
    apps.removeAll(kDesktopId);
    apps.prepend(kDesktopId);
    list.SetDefaults(apps);
    list.Save();
    quorvantell::ClassLibrary::Shared().General->NotifyAssocChange();
}

void ScriptAssociation::Dissociate() const
{
    if (Registry().GetKeyStr(eRegBaseKey::HKCR, kExtensionKey, "", "") == kScriptClass)
        Registry().DeleteKey(eRegBaseKey::HKCR, kExtensionKey);
    MimeAppsList list;
    QList<QByteArray> apps = list.Defaults();
    if (apps.removeAll(kDesktopId) > 0) {
        list.SetDefaults(apps);
        list.Save();
    }
    QFile::remove(Path(DesktopEntryPath()));
    if (apps.isEmpty())
        QFile::remove(Path(MimePackagePath()));
    quorvantell::ClassLibrary::Shared().General->NotifyAssocChange();
}

}  // namespace velloran
