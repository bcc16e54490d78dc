#include "PictureArea.h"

#include "JpegLoader.h"
#include "PicturePreview.h"

#include "localisation/TextCatalogue.h"
#include "toolkit/PictureLabel.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>

#include <chrono>

TPictureArea::TPictureArea(QScrollArea* box, TPictureLabel* label, QObject* parent)
    : QObject(parent), m_box(box), m_viewport(box->viewport()), m_label(label) {
    CreateMenu();
    m_box->viewport()->installEventFilter(this);
    m_worker = std::thread([this] { Work(); });
}

TPictureArea::~TPictureArea() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_next.reset();
    }
    ++m_generation; // stops a decode under way
    m_wake.notify_all();
    m_worker.join();
}

void TPictureArea::CreateMenu() {
    m_fitAction = new QAction(this);
    m_fitAction->setObjectName(QStringLiteral("TilpasBillede1"));
    m_fitAction->setCheckable(true);
    connect(m_fitAction, &QAction::triggered, this, [this](bool fit) {
        SetFitToFrame(fit);
        if (OnFitToFrameChanged) {
            OnFitToFrameChanged(fit);
        }
    });
    for (QWidget* widget : {static_cast<QWidget*>(m_label), m_box->viewport()}) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this, [this, widget](const QPoint& at) {
            m_fitAction->setText(LocalText("Pictures.FitToFrame", "Tilpas billedet til rammen"));
            m_fitAction->setChecked(m_fit);
            QMenu menu;
            menu.addAction(m_fitAction);
            menu.exec(widget->mapToGlobal(at));
        });
    }
}

void TPictureArea::SetFitToFrame(bool fit) {
    m_fitAction->setChecked(fit);
    if (fit == m_fit) {
        return;
    }
    m_fit = fit;
    m_box->setAlignment(fit ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    if (!m_file.isEmpty()) {
        Show(m_file, m_fallback);
    }
}

QSize TPictureArea::AreaSize() const {
    // The whole box, as when no scroll bar is shown.
    return m_box->maximumViewportSize().expandedTo(QSize(1, 1));
}

void TPictureArea::Show(const QString& file, const QString& fallback) {
    const QFileInfo info(file);
    QString stamp = file + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
                    QString::number(info.lastModified().toMSecsSinceEpoch());
    if (m_fit) {
        const QSize area = AreaSize();
        stamp += QStringLiteral("|fit %1x%2").arg(area.width()).arg(area.height());
    }
    m_file = file;
    m_fallback = fallback;
    if (stamp == m_stamp) {
        return;
    }
    m_stamp = stamp;
    Request(file, fallback);
}

void TPictureArea::Request(const QString& file, const QString& fallback) {
    TRequest request;
    request.Generation = ++m_generation;
    request.File = file;
    request.Fallback = fallback;
    request.Fit = m_fit;
    request.Area = AreaSize();
    m_busy = true;
    {
        std::lock_guard lock(m_mutex);
        m_next = std::move(request);
    }
    m_wake.notify_one();
}

bool TPictureArea::WaitUntilShown(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (m_busy) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (m_busy) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents); // the paint that follows
    return true;
}

bool TPictureArea::eventFilter(QObject* watched, QEvent* event) {
    // The kept pointer alone is compared: the frame may be halfway through its destruction when its
    // last events reach this filter.
    if (watched == m_viewport && event->type() == QEvent::Resize && m_fit && !m_file.isEmpty()) {
        Show(m_file, m_fallback); // a new frame size is a new stamp
    }
    return QObject::eventFilter(watched, event);
}

// The decoder thread: takes the newest request, drops those it never reached.
void TPictureArea::Work() {
    for (;;) {
        TRequest request;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_next.has_value(); });
            if (m_stop) {
                return;
            }
            request = std::move(*m_next);
            m_next.reset();
        }
        Decode(request);
    }
}

void TPictureArea::Decode(const TRequest& request) {
    if (BeforeDecode) {
        BeforeDecode(request.File);
    }
    if (m_generation != request.Generation) {
        return;
    }
    try {
        DecodeFile(request, request.File);
        return;
    } catch (const EPictureError& error) {
        if (request.Fallback.isEmpty()) {
            PostError(request.Generation, error.Message());
            return;
        }
    }
    try {
        DecodeFile(request, request.Fallback);
    } catch (const EPictureError& error) {
        PostError(request.Generation, error.Message());
    }
}

void TPictureArea::DecodeFile(const TRequest& request, const QString& file) {
    const quint64 generation = request.Generation;
    const std::function<bool()> stale = [this, generation] { return m_generation != generation; };
    if (request.Fit) {
        bool previewUnusable = false;
        if (ShowPreview(request, file, previewUnusable)) {
            return;
        }
        const QSize upright = ReadJpegHeader(file).Upright;
        const QSize fitted = Fitted(upright, request.Area);
        TJpegPart part = LoadJpegPart(file, {}, fitted == upright ? QSize() : fitted, stale);
        if (part.Image.isNull()) {
            return;
        }
        if (part.Image.size() != fitted) {
            part.Image = part.Image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        Post(generation, file, fitted, part.Image, true);
        // Next time from a preview; one that is fresh but too small for this frame is kept.
        if (previewUnusable && PicturePreview::SizeFor(upright).isValid()) {
            m_previews.Add(file);
        }
        return;
    }
    // The part in view first, then the whole picture for scrolling.
    const TJpegPart first = LoadJpegPart(file, QRect(QPoint(0, 0), request.Area), {}, stale);
    if (first.Image.isNull()) {
        return;
    }
    if (first.Image.size() == first.Upright) {
        Post(generation, file, first.Upright, first.Image, true);
        return;
    }
    Post(generation, file, first.Upright, first.Image, false);
    const TJpegPart whole = LoadJpegPart(file, {}, {}, stale);
    if (!whole.Image.isNull()) {
        Post(generation, file, whole.Upright, whole.Image, true);
    }
}

QSize TPictureArea::Fitted(const QSize& upright, const QSize& area) {
    return upright.boundedTo(upright.scaled(area, Qt::KeepAspectRatio)).expandedTo({1, 1});
}

// Fitted from the photo's preview when there is a fresh one that covers the frame: the shown size
// is that of the photo fitted, as without a preview. `unusable` tells that there is none, or that
// it could not be read.
bool TPictureArea::ShowPreview(const TRequest& request, const QString& file, bool& unusable) {
    const std::optional<PicturePreview::TFresh> preview = PicturePreview::Find(file);
    unusable = !preview;
    if (!preview) {
        return false;
    }
    const QSize fitted = Fitted(preview->Photo, request.Area);
    if (preview->Preview.width() < fitted.width() || preview->Preview.height() < fitted.height()) {
        return false;
    }
    const quint64 generation = request.Generation;
    TJpegPart part;
    try {
        part = LoadJpegPart(preview->File, {}, fitted,
                            [this, generation] { return m_generation != generation; });
    } catch (const EPictureError&) {
        unusable = true;
        return false;
    }
    if (part.Image.isNull()) {
        return true; // superseded
    }
    if (part.Image.size() != fitted) {
        part.Image = part.Image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    Post(generation, file, fitted, part.Image, true);
    return true;
}

TPictureArea::TFit TPictureArea::FitFor(const QSize& upright, const QSize& frame) {
    if (upright.isEmpty()) {
        return {upright, 8};
    }
    TFit fit;
    fit.Shown = upright.width() <= frame.width() && upright.height() <= frame.height()
                    ? upright
                    : upright.scaled(frame, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    fit.Eighths = JpegScaleFor(upright, fit.Shown);
    return fit;
}

void TPictureArea::Post(quint64 generation, const QString& file, const QSize& size, const QImage& image,
                        bool complete) {
    if (m_generation != generation) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, generation, file, size, image, complete] { Deliver(generation, file, size, image, complete); },
        Qt::QueuedConnection);
}

void TPictureArea::PostError(quint64 generation, const QString& message) {
    QMetaObject::invokeMethod(
        this, [this, generation, message] { Fail(generation, message); }, Qt::QueuedConnection);
}

void TPictureArea::Deliver(quint64 generation, const QString& file, const QSize& size, const QImage& image,
                           bool complete) {
    if (generation != m_generation) {
        return; // the user has moved on
    }
    if (complete) {
        m_label->SetPicture(image);
        m_busy = false;
    } else {
        m_label->SetPartialPicture(size, image);
    }
    if (file != m_shownFile) {
        m_box->horizontalScrollBar()->setValue(0);
        m_box->verticalScrollBar()->setValue(0);
    }
    m_shownFile = file;
    emit pictureShown(file, complete);
}

void TPictureArea::Fail(quint64 generation, const QString& message) {
    if (generation != m_generation) {
        return;
    }
    m_busy = false;
    m_stamp.clear(); // tried again at the next change
    if (OnError) {
        OnError(message);
    }
}
