#include "PicturePreview.h"

#include "JpegLoader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PicturePreview {

namespace {

const QByteArray StampWord = QByteArrayLiteral("Habitra-preview");

// What identifies the photo as it is now: its byte size and modification time.
struct TPhotoStamp {
    qint64 Bytes = -1;
    qint64 Modified = 0;
};

std::optional<TPhotoStamp> StampOf(const QString& photo) {
    const QFileInfo info(photo);
    if (!info.isFile()) {
        return std::nullopt;
    }
    return TPhotoStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
}

QByteArray SizeText(const QSize& size) {
    return QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
}

QSize ParseSize(const QByteArray& text) {
    const QList<QByteArray> parts = text.split('x');
    bool wide = false;
    bool high = false;
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(&wide), parts[1].toInt(&high)) : QSize();
    return wide && high && !size.isEmpty() ? size : QSize();
}

QByteArray Comment(const TPhotoStamp& stamp, const QSize& photo, const QSize& preview) {
    return StampWord + ' ' + QByteArray::number(stamp.Bytes) + ' ' + QByteArray::number(stamp.Modified) +
           ' ' + SizeText(photo) + ' ' + SizeText(preview);
}

// The comment segment goes after the JFIF segment, which readers expect first.
QByteArray WithComment(const QByteArray& jpeg, const QByteArray& comment) {
    qsizetype at = 2;
    if (jpeg.size() > 6 && uchar(jpeg[2]) == 0xFF && uchar(jpeg[3]) == 0xE0) {
        at = 4 + ((qsizetype(uchar(jpeg[4])) << 8) | uchar(jpeg[5]));
    }
    const qsizetype length = comment.size() + 2;
    QByteArray segment("\xFF\xFE", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(comment);
    return jpeg.left(at) + segment + jpeg.mid(at);
}

// The first comment segment before the picture data, read from the file's first few kilobytes.
QByteArray ReadComment(const QString& file) {
    QFile preview(file);
    if (!preview.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = preview.read(4096);
    const auto at = [&head](qsizetype i) { return uchar(head[i]); };
    if (head.size() < 4 || at(0) != 0xFF || at(1) != 0xD8) {
        return {};
    }
    qsizetype pos = 2;
    while (pos + 4 <= head.size() && at(pos) == 0xFF) {
        const uchar marker = at(pos + 1);
        const qsizetype length = (qsizetype(at(pos + 2)) << 8) | at(pos + 3);
        if (marker == 0xDA || length < 2) {
            break;
        }
        if (marker == 0xFE) {
            return pos + 2 + length <= head.size() ? head.mid(pos + 4, length - 2) : QByteArray();
        }
        pos += 2 + length;
    }
    return {};
}

bool WriteStamped(const QString& photo, const QImage& upright, const QSize& photoUpright,
                  const TPhotoStamp& stamp) {
    const QSize size = SizeFor(photoUpright);
    if (!size.isValid() || upright.isNull() || upright.width() < size.width() ||
        upright.height() < size.height()) {
        return false;
    }
    const QImage reduced = upright.size() == size
                               ? upright
                               : upright.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QString file = FileFor(photo);
    try {
        const QByteArray bytes =
            WithComment(EncodeJpeg(reduced, file, 90), Comment(stamp, photoUpright, reduced.size()));
        if (!QDir().mkpath(QFileInfo(file).path())) {
            return false;
        }
        QSaveFile save(file);
        return save.open(QIODevice::WriteOnly) && save.write(bytes) == bytes.size() && save.commit();
    } catch (const EPictureError&) {
        return false;
    }
}

} // namespace

QString FileFor(const QString& photo) {
    const QFileInfo info(photo);
    return info.path() + QLatin1Char('/') + FolderName + QLatin1Char('/') + info.fileName();
}

QSize SizeFor(const QSize& upright) {
    if (upright.isEmpty() || qMax(upright.width(), upright.height()) <= MaxSide) {
        return {};
    }
    return upright.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

std::optional<TFresh> Find(const QString& photo) {
    const std::optional<TPhotoStamp> stamp = StampOf(photo);
    if (!stamp) {
        return std::nullopt;
    }
    const QString file = FileFor(photo);
    const QList<QByteArray> words = ReadComment(file).split(' ');
    if (words.size() != 5 || words[0] != StampWord || words[1] != QByteArray::number(stamp->Bytes) ||
        words[2] != QByteArray::number(stamp->Modified)) {
        return std::nullopt;
    }
    TFresh fresh{file, ParseSize(words[3]), ParseSize(words[4])};
    if (!fresh.Photo.isValid() || !fresh.Preview.isValid()) {
        return std::nullopt;
    }
    return fresh;
}

bool Write(const QString& photo, const QImage& upright, const QSize& photoUpright) {
    const std::optional<TPhotoStamp> stamp = StampOf(photo);
    return stamp && WriteStamped(photo, upright, photoUpright, *stamp);
}

bool Make(const QString& photo, const std::function<bool()>& cancelled) {
    // Taken before the photo is read: should it be replaced meanwhile, the preview's stamp is the
    // old photo's and it is never used for the new one.
    const std::optional<TPhotoStamp> stamp = StampOf(photo);
    if (!stamp) {
        return false;
    }
    try {
        const QSize upright = ReadJpegHeader(photo).Upright;
        const QSize size = SizeFor(upright);
        if (!size.isValid()) {
            return false;
        }
        const TJpegPart part = LoadJpegPart(photo, {}, size, cancelled);
        return !part.Image.isNull() && WriteStamped(photo, part.Image, upright, *stamp);
    } catch (const EPictureError&) {
        return false;
    }
}

} // namespace PicturePreview
