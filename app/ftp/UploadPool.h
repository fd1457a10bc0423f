// UploadPool: an upload of many files over several FTP sessions at once.
// Each further session is logged in and used by a worker thread of its own;
// the caller's session sends on the caller's thread while it waits for a
// result, so it is never used from two threads (the windows may use it
// between files, as they always could). Files start in list order, and the
// caller takes their results in the same order, so what it reports comes in
// the order of a one-by-one upload; no file starts more than two a session
// ahead of the last result asked for, so progress and cancel checks stay
// close to what is sent. A failed transfer keeps any further file from
// starting. A transfer under way always runs to its end, also when the pool
// is ended, so every file is whole under its final name or absent from it
// (CFTP::PutFile's temporary name).
//
// Threads: every member is for the one thread that made the pool.
#pragma once

#include "app/ftp/CFTP.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velloran {

class UploadPool {
public:
    // One file: its local path and its server path.
    struct Upload {
        std::string local;
        std::string remote;
    };
    // Logs a new session in, as the caller's session was; false when the
    // server will not have one more (a limit of sessions per client), which
    // only leaves that worker out. Called on the workers' threads.
    using Connector = std::function<bool(CFTP& session)>;

    // Starts the upload over `sessions` sessions: `main` (open, used on
    // this thread) and the others, each opened by `connect` on a worker
    // thread of its own; `held` starts it as Hold leaves it, for a cancel
    // request that came first. A thread the system refuses is a session fewer.
    UploadPool(CFTP& main, int32_t sessions, Connector connect, std::vector<Upload> uploads, bool held);
    // No further file starts; returns once the transfers under way have ended.
    ~UploadPool();
    UploadPool(const UploadPool&) = delete;
    UploadPool& operator=(const UploadPool&) = delete;

    // Waits for the next file in list order, sending files over the main
    // session meanwhile: true when it was sent and stamped under its final
    // name; false when its transfer failed or it never started because an
    // earlier failure ended the pool. The next file starts for this call
    // even while the pool is held.
    bool NextSent();
    // After a cancel request: no file starts beyond those whose results
    // were asked for; returns once no transfer is under way.
    void Hold();
    // Lets the files start again after Hold.
    void Release();

private:
    enum class State { Waiting, Running, Sent, Failed };

    // A worker: logs its session in, then sends until nothing is left to start.
    void Work();
    // Sends one file over the session; called without the lock.
    bool Send(CFTP& session, size_t index) const;
    // Under m_mutex: marks the next file running when it may start now.
    bool StartNext(size_t& index);
    // Under m_mutex: whether no file will start any more.
    bool Ended() const;
    // Under m_mutex: whether the file's result is known.
    bool Settled(size_t index) const;
    // Under m_mutex: the end of a transfer.
    void Finished(size_t index, bool sent);

    CFTP& m_main;
    const Connector m_connect;
    const std::vector<Upload> m_uploads;
    const size_t m_ahead;  // files that may start beyond the last one asked for
    // Everything below is shared with the workers and guarded by m_mutex;
    // a session is only ever used by the one thread that has it.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<State> m_states;
    size_t m_next = 0;     // the first file not started
    size_t m_asked = 0;    // results asked for by NextSent
    size_t m_running = 0;  // transfers under way
    bool m_held = false;   // Hold: nothing starts beyond the files asked for
    bool m_stopped = false;
    std::vector<std::thread> m_workers;
};

}  // namespace velloran
