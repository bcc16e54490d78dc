#pragma once

#include "PreviewWriter.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class QAction;
class QScrollArea;
class TPictureLabel;

// The main window's picture area: a picture label inside a scroll box, fed by a decoder thread so
// that moving through items never waits for a photo. At natural size the part in view is decoded
// first and shown at once, then the whole picture; fitted to the frame, the picture is decoded
// through libjpeg's DCT scaling at the smallest eighth that still fills the frame, then shrunk to
// fit; a large photo is shown from its preview (PicturePreview) when a fresh one covers the frame,
// and otherwise gets one written in the background for next time. A newer picture supersedes an
// older one: a decode still running for an item the user has left is stopped, and a result that
// arrives late is dropped, so the label always shows the picture last asked for.
class TPictureArea : public QObject {
    Q_OBJECT
public:
    TPictureArea(QScrollArea* box, TPictureLabel* label, QObject* parent = nullptr);
    ~TPictureArea() override;

    // Shows `file`, or `fallback` when `file` cannot be read (none when empty), and returns at once.
    // A file unchanged since the last call, shown the same way, is not decoded again.
    void Show(const QString& file, const QString& fallback);
    // Forgets what is shown, so that the next Show decodes even an unchanged file.
    void Forget() { m_stamp.clear(); }

    bool FitToFrame() const { return m_fit; }
    // Shows the current picture again in the new way.
    void SetFitToFrame(bool fit);
    // The context menu's choice; its text follows the language each time the menu opens.
    QAction* FitAction() const { return m_fitAction; }

    // Fitted to a frame: the size the picture is shown at (never enlarged) and the eighths of its
    // stored size libjpeg decodes it at before the last smooth shrink.
    struct TFit {
        QSize Shown;
        int Eighths = 8;
    };
    static TFit FitFor(const QSize& upright, const QSize& frame);

    // Writes the previews that fit-to-frame shows large photos from next time.
    TPreviewWriter& Previews() { return m_previews; }

    // Whether the last Show has not yet reached its final picture (or failed).
    bool Busy() const { return m_busy; }
    // Runs the event loop until the last Show is done; false after `timeoutMs`. For tests and
    // benchmarks, which must know when the picture is there.
    bool WaitUntilShown(int timeoutMs = 30000);

    // On the window's thread when neither the file nor the fallback could be read: the message.
    // The label keeps what it showed.
    std::function<void(const QString& message)> OnError;
    // When the user switched fit-to-frame from the context menu.
    std::function<void(bool fit)> OnFitToFrameChanged;
    // Runs on the decoder thread before each picture is decoded; tests hold a decode back with it.
    std::function<void(const QString& file)> BeforeDecode;

signals:
    // A picture reached the label: `complete` false for the part in view that comes first.
    void pictureShown(const QString& file, bool complete);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TRequest {
        quint64 Generation = 0;
        QString File;
        QString Fallback;
        bool Fit = false;
        QSize Area;
    };

    void CreateMenu();
    void Request(const QString& file, const QString& fallback);
    QSize AreaSize() const;
    void Work();
    static QSize Fitted(const QSize& upright, const QSize& area);
    bool ShowPreview(const TRequest& request, const QString& file, bool& unusable);
    void Decode(const TRequest& request);
    void DecodeFile(const TRequest& request, const QString& file);
    void Post(quint64 generation, const QString& file, const QSize& size, const QImage& image, bool complete);
    void PostError(quint64 generation, const QString& message);
    void Deliver(quint64 generation, const QString& file, const QSize& size, const QImage& image,
                 bool complete);
    void Fail(quint64 generation, const QString& message);

    QScrollArea* m_box;
    const QObject* m_viewport;
    TPictureLabel* m_label;
    QAction* m_fitAction = nullptr;
    bool m_fit = false;
    bool m_busy = false;
    QString m_stamp; // file, size and time of the last Show, and how it was shown
    QString m_file;  // of the last Show
    QString m_fallback;
    QString m_shownFile; // what the label shows

    TPreviewWriter m_previews;
    std::atomic<quint64> m_generation{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<TRequest> m_next;
    bool m_stop = false;
    std::thread m_worker;
};
