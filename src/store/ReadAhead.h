#pragma once

#include "ReadBlock.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Reads the blocks a walk will come to on a worker thread, over a connection of its own, while the
// walk converts and uses the blocks before them. The worker only copies what the engine holds: values
// and their memory are made by the walk's own thread. Only reads; every write goes through the table's
// own connection, which discards what is read ahead first.
class TReadAhead {
public:
    // `sql` selects the rowid and then `columns` columns of the rows whose keys lie between its two
    // parameters, in key order.
    TReadAhead(QString path, QString sql, int columns);
    ~TReadAhead();
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

    // Queues a block to read: its keys, ascending.
    void Add(std::vector<qint64> keys);
    // Blocks queued, under way, or read and not yet taken.
    int Pending();
    // Hands over the next block read, waiting for it if need be, when it was asked for with exactly these
    // keys. Otherwise the walk has gone elsewhere: everything is dropped and false returned, as it is when
    // the read failed, so that the caller reads the keys itself.
    bool Take(const std::vector<qint64>& keys, TReadBlock& block);
    // Waits for a read under way and drops everything: before a write, so that no read lock stands in
    // its way and nothing read before it is handed out after it.
    void Discard();

private:
    struct TJob {
        std::vector<qint64> Keys;
        bool Read = false; // false when the read failed
        TReadBlock Block;
    };

    void Work();
    void DropAll(std::unique_lock<std::mutex>& lock);
    void Read(TJob& job);

    const QString m_path;
    const QString m_sql;
    const int m_columns;

    std::mutex m_mutex;
    std::condition_variable m_workCame; // the worker waits for jobs
    std::condition_variable m_jobDone;  // the walk waits for a block
    std::deque<std::vector<qint64>> m_queue;
    std::deque<TJob> m_done;
    bool m_busy = false;
    bool m_idle = false; // the worker sleeps
    bool m_stop = false;

    // Used by the worker alone.
    TSqliteDatabase m_db;
    std::unique_ptr<TSqliteStatement> m_query;

    std::thread m_worker; // last: started once everything it uses exists
};
