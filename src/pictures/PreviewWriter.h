#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Writes previews of photos (PicturePreview::Make) on a thread of its own, one after the other and
// each after a quarter of a second without a new one asked for, so neither the window nor the
// picture area's decoder waits for them. A photo asked for twice before
// its turn is made once. Failures are silent: the preview is then simply not there.
class TPreviewWriter {
public:
    TPreviewWriter();
    // Stops a preview under way (it is not written) and drops those not yet begun.
    ~TPreviewWriter();
    TPreviewWriter(const TPreviewWriter&) = delete;
    TPreviewWriter& operator=(const TPreviewWriter&) = delete;

    void Add(const QString& photo);
    // Waits until every preview asked for is written or given up; false after `timeoutMs`. For tests
    // and benchmarks.
    bool WaitUntilIdle(int timeoutMs = 30000);

    // Runs on the writer's thread after each preview, with whether it was written.
    std::function<void(const QString& photo, bool written)> AfterWrite;

private:
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    static constexpr std::chrono::milliseconds QuietTime{250};

    std::deque<QString> m_queue;
    std::chrono::steady_clock::time_point m_lastAdd;
    bool m_working = false;
    bool m_stop = false;
    std::thread m_worker;
};
