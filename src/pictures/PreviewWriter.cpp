#include "PreviewWriter.h"

#include "PicturePreview.h"

#include <algorithm>
#include <chrono>

#include <sys/resource.h>
#include <unistd.h>

TPreviewWriter::TPreviewWriter() : m_worker([this] { Work(); }) {}

TPreviewWriter::~TPreviewWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

void TPreviewWriter::Add(const QString& photo) {
    {
        std::lock_guard lock(m_mutex);
        m_lastAdd = std::chrono::steady_clock::now();
        if (std::find(m_queue.begin(), m_queue.end(), photo) == m_queue.end()) {
            m_queue.push_back(photo);
        }
    }
    m_wake.notify_one();
}

bool TPreviewWriter::WaitUntilIdle(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_queue.empty() && !m_working; });
}

void TPreviewWriter::Work() {
    // Below the window and the picture area's decoder, which the user waits for.
    setpriority(PRIO_PROCESS, id_t(gettid()), 10);
    for (;;) {
        QString photo;
        {
            std::unique_lock lock(m_mutex);
            m_working = false;
            m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            // A quiet moment first: not while the picture just asked for is being painted, nor
            // while the user holds down "next".
            while (!m_stop && std::chrono::steady_clock::now() < m_lastAdd + QuietTime) {
                m_wake.wait_until(lock, m_lastAdd + QuietTime);
            }
            if (m_stop) {
                return;
            }
            photo = m_queue.front();
            m_queue.pop_front();
            m_working = true;
        }
        const bool written = PicturePreview::Make(photo, [this] {
            std::lock_guard lock(m_mutex);
            return m_stop;
        });
        if (AfterWrite) {
            AfterWrite(photo, written);
        }
    }
}
