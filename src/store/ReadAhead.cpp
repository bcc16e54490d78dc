#include "ReadAhead.h"

TReadAhead::TReadAhead(QString path, QString sql, int columns)
    : m_path(std::move(path)), m_sql(std::move(sql)), m_columns(columns), m_worker([this] { Work(); }) {}

TReadAhead::~TReadAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_workCame.notify_all();
    m_worker.join();
    m_query.reset();
}

void TReadAhead::Add(std::vector<qint64> keys) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(keys));
        wake = m_idle;
    }
    // Waking a thread is dear: only when it sleeps.
    if (wake) {
        m_workCame.notify_one();
    }
}

int TReadAhead::Pending() {
    std::lock_guard lock(m_mutex);
    return int(m_queue.size() + m_done.size()) + (m_busy ? 1 : 0);
}

bool TReadAhead::Take(const std::vector<qint64>& keys, TReadBlock& block) {
    std::unique_lock lock(m_mutex);
    m_jobDone.wait(lock, [&] { return !m_done.empty() || (!m_busy && m_queue.empty()); });
    if (!m_done.empty() && m_done.front().Keys == keys && m_done.front().Read) {
        block = std::move(m_done.front().Block);
        m_done.pop_front();
        return true;
    }
    DropAll(lock);
    return false;
}

void TReadAhead::Discard() {
    std::unique_lock lock(m_mutex);
    DropAll(lock);
}

void TReadAhead::DropAll(std::unique_lock<std::mutex>& lock) {
    m_queue.clear();
    m_jobDone.wait(lock, [&] { return !m_busy; });
    m_done.clear();
}

void TReadAhead::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_idle = true;
        m_workCame.wait(lock, [&] { return m_stop || !m_queue.empty(); });
        m_idle = false;
        if (m_stop) {
            return;
        }
        TJob job{std::move(m_queue.front()), false, {}};
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        try {
            Read(job);
            job.Read = true;
        } catch (...) {
            // The walk reads the block itself and meets the failure there, where it can be reported.
        }
        lock.lock();
        m_busy = false;
        // A discard waiting for this read drops it as soon as it is here.
        m_done.push_back(std::move(job));
        m_jobDone.notify_all();
    }
}

void TReadAhead::Read(TJob& job) {
    if (!m_query) {
        m_db.Open(m_path);
        m_query = std::make_unique<TSqliteStatement>(m_db, m_sql);
    }
    const TStatementReset reset(*m_query);
    m_query->Bind(1, QVariant(job.Keys.front()));
    m_query->Bind(2, QVariant(job.Keys.back()));
    job.Block.Fill(*m_query, job.Keys, m_columns);
}
