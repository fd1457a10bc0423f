// CSingleInst: the presence lock and the wake-up channel between two starts.
#include "classlib/misc/CSingleInst.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace quorvantell {

namespace {

// A request is the command line's bytes and a NUL (no argument holds one);
// the answer is this one byte, sent once the request has been handled.
constexpr char kHandled = '\x06';
// A request longer than this is no command line: its sender is dropped.
constexpr qint64 kMaxRequest = 1 << 20;

// A folder only this user can enter, not reached through a symbolic link.
bool IsPrivateFolder(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR when it is private, else quorvantell-UID under the
// temporary folder, made with mode 0700; empty when neither is private (a
// folder of that name someone else made is never used).
std::string RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime))
        return runtime;
    const char* temp = std::getenv("TMPDIR");
    const std::string folder = std::string(temp != nullptr && temp[0] == '/' ? temp : "/tmp") + "/quorvantell-" +
                               std::to_string(geteuid());
    mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder) ? folder : std::string();
}

QString SocketName(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool SameUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
}

}  // namespace

CSingleInst::CSingleInst() = default;

CSingleInst::~CSingleInst()
{
    // The channel closes (and its socket file goes) before the lock is let
    // go, so a new holder's socket is never removed by this one.
    UnSubClass();
    if (m_lockFd >= 0)
        close(m_lockFd);
}

std::string CSingleInst::ChannelPath(const std::string& Title, int32_t Revision)
{
    const std::string folder = RuntimeFolder();
    return folder.empty() ? folder : folder + "/" + Title + std::to_string(Revision);
}

void CSingleInst::Init(const std::string& Title, int32_t Revision)
{
    m_channel = ChannelPath(Title, Revision);
    if (m_channel.empty())
        return;
    m_lockFd = open((m_channel + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    m_locked = m_lockFd >= 0 && flock(m_lockFd, LOCK_EX | LOCK_NB) == 0;
}

bool CSingleInst::PrevInstance()
{
    if (m_lockFd < 0)
        return false;
    if (!m_locked)
        m_locked = flock(m_lockFd, LOCK_EX | LOCK_NB) == 0;
    return !m_locked;
}

void CSingleInst::SubClass(QObject* hWnd)
{
    if (m_server || !m_locked)
        return;
    // A socket file left by a holder that crashed: with the lock held, no
    // one listens on it.
    QLocalServer::removeServer(SocketName(m_channel));
    auto server = std::make_unique<QLocalServer>();
    if (!server->listen(SocketName(m_channel)))
        return;
    chmod(m_channel.c_str(), 0600);
    connect(server.get(), &QLocalServer::newConnection, this, &CSingleInst::Accept);
    m_server = std::move(server);
    if (hWnd != nullptr)
        connect(hWnd, &QObject::destroyed, this, &CSingleInst::UnSubClass);
}

void CSingleInst::UnSubClass()
{
    for (Request& request : m_queue) {
        if (request.sender)
            request.sender->abort();
    }
    m_queue.clear();
    m_server.reset();
}

bool CSingleInst::BroadCast(const std::string& CommandLine) const
{
    if (m_channel.empty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(SocketName(m_channel));
    if (!socket.waitForConnected())
        return false;
    socket.write(CommandLine.data(), static_cast<qint64>(CommandLine.size()));
    socket.putChar('\0');
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(-1))
            return false;
    }
    // Handling may take as long as the script it runs.
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(-1))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kHandled;
}

void CSingleInst::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!SameUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Held by this object, not the server: a sender whose hand-over is
        // running when the channel closes still gets its answer.
        socket->setParent(this);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void CSingleInst::ReadRequest(QLocalSocket* socket)
{
    const QByteArray received = socket->peek(socket->bytesAvailable());
    const qsizetype end = received.indexOf('\0');
    // Once the channel is closed a request that completes is dropped like
    // the queued ones.
    if (!m_server || (end < 0 && received.size() > kMaxRequest)) {
        socket->abort();
        return;
    }
    if (end < 0)
        return;
    socket->read(end + 1);
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    m_queue.push_back({socket, received.left(end).toStdString()});
    Dispatch();
}

// Runs the queued hand-overs one after the other. A handler turns the event
// loop, so a hand-over can arrive while one runs: it is queued and waits for
// the loop below rather than running inside the current one.
void CSingleInst::Dispatch()
{
    if (m_dispatching)
        return;
    m_dispatching = true;
    while (!m_queue.empty()) {
        Request request = std::move(m_queue.front());
        m_queue.pop_front();
        emit WakeUp(request.commandLine);
        if (request.sender) {
            request.sender->putChar(kHandled);
            request.sender->flush();
            request.sender->disconnectFromServer();
        }
    }
    m_dispatching = false;
}

}  // namespace quorvantell
