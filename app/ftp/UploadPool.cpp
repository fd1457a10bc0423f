// UploadPool: the workers, the order of the files and of their results.
//
// Locking: the states, counters and flags change only under m_mutex, and
// every wait re-checks its condition under it, so a notify can never be
// missed. A worker reads its Upload outside the lock: m_uploads is never
// changed after the constructor, and the thread's start orders that write
// before the read. The caller's session passes to worker 0 at its start and
// back at its join, and the caller does not touch it in between.
#include "app/ftp/UploadPool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace velloran {

UploadPool::UploadPool(CFTP& main, int32_t sessions, Connector connect, std::vector<Upload> uploads, bool held)
    : m_connect(std::move(connect)),
      m_uploads(std::move(uploads)),
      m_ahead(2 * static_cast<size_t>(std::max(sessions, 1))),
      m_states(m_uploads.size(), State::Waiting),
      m_held(held)
{
    try {
        m_workers.emplace_back([this, &main] { Work(main); });
        for (int32_t i = 1; i < sessions; ++i)
            m_workers.emplace_back([this] { WorkOwnSession(); });
    } catch (const std::system_error&) {
        if (m_workers.empty())
            throw;
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
    m_changed.wait(lock, [&] {
        const State state = m_states[index];
        return state == State::Sent || state == State::Failed || (m_stopped && state == State::Waiting);
    });
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
    {
        const std::lock_guard lock(m_mutex);
        if (!m_held)
            return;
        m_held = false;
    }
    m_changed.notify_all();
}

void UploadPool::WorkOwnSession()
{
    CFTP session;
    if (m_connect(session))
        Work(session);
}

void UploadPool::Work(CFTP& session)
{
    size_t index = 0;
    while (Take(index)) {
        const Upload& upload = m_uploads[index];
        Finish(index, session.PutFile(upload.local, upload.remote));
    }
}

bool UploadPool::Take(size_t& index)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stopped || m_next >= m_uploads.size() || MayStart(); });
    if (m_stopped || m_next >= m_uploads.size())
        return false;
    index = m_next++;
    m_states[index] = State::Running;
    ++m_running;
    return true;
}

bool UploadPool::MayStart() const
{
    return m_next < (m_held ? m_asked : m_asked + m_ahead);
}

void UploadPool::Finish(size_t index, bool sent)
{
    {
        const std::lock_guard lock(m_mutex);
        m_states[index] = sent ? State::Sent : State::Failed;
        --m_running;
        // The first failure ends the upload: nothing starts after it.
        m_stopped = m_stopped || !sent;
    }
    m_changed.notify_all();
}

}  // namespace velloran
