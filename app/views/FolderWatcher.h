// FolderWatcher: tells when the entries of a watched folder change, for
// folders named by the bytes of their paths. QFileSystemWatcher takes paths
// as text, and text cannot name a folder whose path is not valid UTF-8;
// such a folder is watched through a descriptor of its own, by the name the
// kernel gives that descriptor (/proc/self/fd/N).
#pragma once

#include "classlib/files/UniqueFd.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <map>

namespace velloran {

class FolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit FolderWatcher(QObject* parent = nullptr);

    // Watching a folder twice, or one that is gone, changes nothing.
    void Watch(const QByteArray& folder);
    // Stops watching the folder and every folder below it.
    void Unwatch(const QByteArray& folder);

signals:
    // An entry of the folder was made, removed, renamed or changed, or the
    // folder itself went.
    void Changed(const QByteArray& folder);

private:
    struct Watched {
        QByteArray folder;
        quorvantell::UniqueFd fd;  // the descriptor behind a /proc/self/fd name
    };

    QFileSystemWatcher m_watcher;
    std::map<QString, Watched> m_byName;  // by the name the watcher knows
    std::map<QByteArray, QString> m_byFolder;
};

}  // namespace velloran
