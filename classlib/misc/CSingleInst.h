// CSingleInst: lets a later start of a program hand its command line to the
// running instance. The running instance holds a per-user lock file (flock:
// the kernel lets go of it when the process ends, so a crash leaves nothing
// that blocks a new start) and listens on a per-user local socket named after
// the program's title and revision. A later start connects, sends its command
// line and waits until the running instance says it has handled it. Both
// live in the user's runtime folder ($XDG_RUNTIME_DIR, else a folder of mode
// 0700 of the user's own under the temporary folder); the socket has mode
// 0600 and a peer of another user is turned away.
#pragma once

#include "classlib/ClassLibObject.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace quorvantell {

class CSingleInst : public QObject, public ClassLibObject {
    Q_OBJECT

public:
    CSingleInst();
    ~CSingleInst() override;

    // Names the lock and the wake-up channel (Title followed by the decimal
    // Revision: "Sync3") and takes the lock when it is free. Without a
    // private runtime folder there is neither, and every start runs alone.
    void Init(const std::string& Title, int32_t Revision);
    // True while another process holds the lock; a lock that has come free
    // since is taken, and the answer is false.
    bool PrevInstance();
    // Starts taking wake-ups for hWnd; they stop when the window goes. Only
    // the lock holder listens; a second call does nothing.
    void SubClass(QObject* hWnd);
    // Stops taking wake-ups: the channel closes and hand-overs not yet
    // handled are dropped unanswered, so their senders start on their own.
    void UnSubClass();
    // Hands CommandLine to the running instance and returns once it has been
    // handled there (true). False when no instance took it: none listens, or
    // the one that does closed the channel first.
    bool BroadCast(const std::string& CommandLine) const;

    // The socket's path for Title and Revision; empty without a private
    // runtime folder.
    static std::string ChannelPath(const std::string& Title, int32_t Revision);

signals:
    // A later start handed over its command line. Its sender waits until the
    // handlers return; hand-overs arriving meanwhile wait their turn.
    void WakeUp(const std::string& CommandLine);

private:
    struct Request {
        QPointer<QLocalSocket> sender;
        std::string commandLine;
    };

    void Accept();
    void ReadRequest(QLocalSocket* socket);
    void Dispatch();

    std::string m_channel;
    int m_lockFd = -1;
    bool m_locked = false;
    std::unique_ptr<QLocalServer> m_server;
    std::deque<Request> m_queue;
    bool m_dispatching = false;
};

}  // namespace quorvantell
