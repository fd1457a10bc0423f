// UploadPool: the workers, the order of the files and of their results.
//
// Locking: the states, counters and flags change only under m_mutex, every
// wait re-checks its condition under it, and every change that can let a
// waiter go on is notified, so no wake-up is lost. Transfers run without
// the lock. m_uploads is filled before the first worker thread starts
// (which orders it before the thread's reads) and never changed after.
#include "app/ftp/UploadPool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace velloran {

UploadPool::UploadPool(CFTP& main, int32_t sessions, Connector connect, std::vector<Upload> uploads, bool held)
    : m_main(main),
      m_connect(std::move(connect)),
      m_uploads(std::move(uploads)),
      m_ahead(2 * static_cast<size_t>(std::max(sessions, 1))),
      m_states(m_uploads.size(), State::Waiting),
      m_held(held)
{
    try {
        for (int32_t i = 1; i < sessions; ++i)
            m_workers.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // The main session sends on alone, or with the workers there are.
    }
}

UploadPool::~UploadPool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

bool UploadPool::NextSent()
{
    std::unique_lock lock(m_mutex);
    if (m_asked >= m_states.size())
        return false;
    // Asking moves the window on; held, it lets this file start, as a
    // one-by-one upload sends the file after a cancel request and asks then.
    const size_t index = m_asked++;
    m_changed.notify_all();
    while (!Settled(index)) {
        size_t file = 0;
        if (!StartNext(file)) {
            m_changed.wait(lock);
            continue;
        }
        lock.unlock();
        const bool sent = Send(m_main, file);
        lock.lock();
        Finished(file, sent);
    }
    return m_states[index] == State::Sent;
}

void UploadPool::Hold()
{
    std::unique_lock lock(m_mutex);
    m_held = true;
    m_changed.wait(lock, [this] { return m_running == 0; });
}

void UploadPool::Release()
{
    const std::lock_guard lock(m_mutex);
    if (m_held) {
        m_held = false;
        m_changed.notify_all();
    }
}

void UploadPool::Work()
{
    CFTP session;
    if (!m_connect(session))
        return;
    std::unique_lock lock(m_mutex);
    for (;;) {
        size_t file = 0;
        bool started = false;
        m_changed.wait(lock, [&] { return (started = StartNext(file)) || Ended(); });
        if (!started)
            return;
        lock.unlock();
        const bool sent = Send(session, file);
        lock.lock();
        Finished(file, sent);
    }
}

bool UploadPool::Send(CFTP& session, size_t index) const
{
    return session.PutFile(m_uploads[index].local, m_uploads[index].remote);
}

bool UploadPool::StartNext(size_t& index)
{
    const size_t limit = m_held ? m_asked : m_asked + m_ahead;
    if (Ended() || m_next >= limit)
        return false;
    index = m_next++;
    m_states[index] = State::Running;
    ++m_running;
    return true;
}

bool UploadPool::Ended() const
{
    return m_stopped || m_next >= m_uploads.size();
}

bool UploadPool::Settled(size_t index) const
{
    const State state = m_states[index];
    return state == State::Sent || state == State::Failed || (m_stopped && state == State::Waiting);
}

void UploadPool::Finished(size_t index, bool sent)
{
    m_states[index] = sent ? State::Sent : State::Failed;
    --m_running;
    // The first failure ends the upload: nothing starts after it.
    m_stopped = m_stopped || !sent;
    m_changed.notify_all();
}

}  // namespace velloran
