// FolderWatcher. The descriptor behind a /proc/self/fd name is opened with
// O_PATH: it only pins the folder for the watch and reads nothing.
#include "app/views/FolderWatcher.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>

#include <vector>

namespace velloran {

FolderWatcher::FolderWatcher(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& name) {
        const auto found = m_byName.find(name);
        if (found == m_byName.end())
            return;
        const QByteArray folder = found->second.folder;
        // A folder that went is no longer watched; forgotten here, it is
        // watched again when a folder of its name is read later.
        if (!m_watcher.directories().contains(name)) {
            m_byFolder.erase(folder);
            m_byName.erase(found);
        }
        emit Changed(folder);
    });
}

void FolderWatcher::Watch(const QByteArray& folder)
{
    if (m_byFolder.contains(folder))
        return;
    Watched watched{folder, {}};
    QString name = QFile::decodeName(folder);
    if (QFile::encodeName(name) != folder) {
        watched.fd = quorvantell::UniqueFd(open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!watched.fd.Valid())
            return;
        name = QStringLiteral("/proc/self/fd/%1").arg(watched.fd.Get());
    }
    if (!m_watcher.addPath(name))
        return;
    m_byName.emplace(name, std::move(watched));
    m_byFolder.emplace(folder, name);
}

void FolderWatcher::Unwatch(const QByteArray& folder)
{
    // The folders below sort right after folder + "/", together.
    const QByteArray below = folder.endsWith('/') ? folder : folder + '/';
    QStringList names;
    std::vector<Watched> dropped;  // descriptors close once the watches are gone
    const auto drop = [&](auto it) {
        names.append(it->second);
        dropped.push_back(std::move(m_byName.extract(it->second).mapped()));
        return m_byFolder.erase(it);
    };
    if (const auto self = m_byFolder.find(folder); self != m_byFolder.end())
        drop(self);
    for (auto it = m_byFolder.lower_bound(below); it != m_byFolder.end() && it->first.startsWith(below);)
        it = drop(it);
    if (!names.isEmpty())
        m_watcher.removePaths(names);
}

}  // namespace velloran
