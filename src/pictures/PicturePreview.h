#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// A reduced copy of a large photo, kept so that the picture area fitted to its frame need not
// decode the whole photo each time: libjpeg must entropy-decode every block of a camera's JPEG even
// at an eighth of its size. The previews are derived data: upright JPEG files of at most
// MaxSide pixels on the long side, in the hidden folder `.Visninger` inside the photo's own folder,
// under the photo's name. Each carries, in a JPEG comment, the byte size and modification time of
// the photo it was made from and that photo's upright size, so a replaced photo is never shown by
// its old preview. Writing one may fail for any reason (a read-only folder, a full disc): it is
// then simply not there, and the photo itself is never touched.
namespace PicturePreview {

inline constexpr int MaxSide = 1600;
inline const QString FolderName = QStringLiteral(".Visninger");

// The preview's path for `photo`. Not looked up.
QString FileFor(const QString& photo);
// The size of the preview of a photo of upright size `upright`; invalid when the photo is small
// enough to need none.
QSize SizeFor(const QSize& upright);

struct TFresh {
    QString File;
    QSize Photo;   // the photo's upright size at full scale
    QSize Preview; // the preview's own size
};
// The preview of `photo` when it exists and was made from the photo as it is now.
std::optional<TFresh> Find(const QString& photo);

// Writes the preview of `photo` from `upright`, the photo's whole picture upright at full size or
// at a DCT scale no smaller than the preview. False when nothing was written.
bool Write(const QString& photo, const QImage& upright, const QSize& photoUpright);
// Decodes `photo` at the smallest scale that covers its preview and writes the preview. False when
// no preview is needed, the photo cannot be read, `cancelled` answered true or writing failed.
bool Make(const QString& photo, const std::function<bool()>& cancelled = {});

} // namespace PicturePreview
