#include "support/cFormShaper.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QList>
#include <QWidget>
#include <algorithm>

namespace {
constexpr quint32 HeaderSize = 32;
constexpr quint32 RectangleType = 1;
constexpr quint32 RectangleSize = 16;

struct TSpan {
    int left;
    int right; // exclusive
    bool operator==(const TSpan&) const = default;
};

QList<TSpan> RowSpans(const QImage& image, int y) {
    QList<TSpan> spans;
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    int x = 0;
    while (x < image.width()) {
        while (x < image.width() && (line[x] & 0xFFFFFF) == 0xFFFFFF) {
            ++x;
        }
        const int start = x;
        while (x < image.width() && (line[x] & 0xFFFFFF) != 0xFFFFFF) {
            ++x;
        }
        if (x > start) {
            spans.append({start, x});
        }
    }
    return spans;
}
} // namespace

TFormShaper::TFormShaper(QObject* owner) : QObject(owner) {}

QWidget* TFormShaper::Target() const {
    if (m_control != nullptr) {
        return m_control;
    }
    return qobject_cast<QWidget*>(parent());
}

void TFormShaper::SetActive(bool active) {
    QWidget* target = Target();
    if (target == nullptr) {
        return;
    }
    if (active) {
        if (m_data.isEmpty() || m_active) {
            return;
        }
        m_active = true;
        target->setMask(RegionOf(m_data));
    } else {
        target->clearMask();
        m_active = false;
    }
}

void TFormShaper::SetControlToShape(QWidget* control) {
    if (m_active) {
        SetActive(false);
    }
    if (m_control != nullptr) {
        disconnect(m_control, &QObject::destroyed, this, nullptr);
    }
    m_control = control;
    if (control != nullptr) {
        connect(control, &QObject::destroyed, this, [this] {
            m_control = nullptr;
            m_active = false;
        });
    }
}

QByteArray TFormShaper::Shape() const {
    QByteArray stream;
    QDataStream out(&stream, QIODevice::WriteOnly);
    WriteFormShape(out);
    return stream;
}

void TFormShaper::SetShape(const QByteArray& stream) {
    QDataStream in(stream);
    ReadFormShape(in);
}

void TFormShaper::ReadFormShape(QDataStream& stream) {
    stream.setByteOrder(QDataStream::LittleEndian);
    if (stream.atEnd()) {
        if (QWidget* target = Target()) {
            target->clearMask();
        }
        m_data.clear();
        return;
    }
    quint32 length = 0;
    stream >> length;
    m_data = QByteArray(qsizetype(length), Qt::Uninitialized);
    const int read = stream.readRawData(m_data.data(), int(length));
    m_data.truncate(std::max(read, 0));
}

void TFormShaper::WriteFormShape(QDataStream& stream) const {
    if (m_data.isEmpty()) {
        return;
    }
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint32(m_data.size());
    stream.writeRawData(m_data.constData(), int(m_data.size()));
}

QByteArray TFormShaper::ShapeOf(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    // Rows with the same spans as the row above join its band, as region data keeps them.
    QList<QRect> rects;
    QList<TSpan> bandSpans;
    qsizetype bandStart = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QList<TSpan> spans = RowSpans(image, y);
        if (!spans.isEmpty() && spans == bandSpans && !rects.isEmpty() && rects.last().bottom() == y - 1) {
            for (qsizetype i = bandStart; i < rects.size(); ++i) {
                rects[i].setBottom(y);
            }
            continue;
        }
        bandSpans = spans;
        bandStart = rects.size();
        for (const TSpan& span : spans) {
            rects.append(QRect(QPoint(span.left, y), QPoint(span.right - 1, y)));
        }
    }
    if (rects.isEmpty()) {
        return {};
    }
    QRect bound;
    for (const QRect& rect : rects) {
        bound |= rect;
    }
    const quint32 count = quint32(rects.size());
    QByteArray stream;
    QDataStream out(&stream, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(HeaderSize + RectangleSize * count) << HeaderSize << RectangleType << count
        << quint32(RectangleSize * count);
    const auto write = [&out](const QRect& rect) {
        out << qint32(rect.left()) << qint32(rect.top()) << qint32(rect.right() + 1)
            << qint32(rect.bottom() + 1);
    };
    write(bound);
    for (const QRect& rect : rects) {
        write(rect);
    }
    return stream;
}

QRegion TFormShaper::RegionOf(const QByteArray& regionData) {
    QDataStream in(regionData);
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 headerSize = 0, type = 0, count = 0, listSize = 0;
    in >> headerSize >> type >> count >> listSize;
    if (in.status() != QDataStream::Ok || headerSize < HeaderSize || type != RectangleType ||
        qint64(headerSize) + qint64(count) * RectangleSize > regionData.size()) {
        return {};
    }
    in.skipRawData(int(headerSize - 16));
    QRegion region;
    for (quint32 i = 0; i < count; ++i) {
        qint32 left = 0, top = 0, right = 0, bottom = 0;
        in >> left >> top >> right >> bottom;
        region += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    }
    return region;
}
