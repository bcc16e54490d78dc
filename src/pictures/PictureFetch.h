#pragma once

#include <QString>
#include <QStringList>

// What "Hent Billede" brings into the picture folder. A JPEG is copied as it is (its EXIF
// orientation is honoured wherever it is shown); a PNG or a HEIC/HEIF photo is converted once into
// an upright JPEG, since the folder holds JPEG files named by picture number. The kind is told by
// the file's first bytes, not by its name.
namespace PictureFetch {

// The open dialog's filter: the accepted kinds first, then every file.
QStringList DialogFilters();

// Brings `chosen` in as `target`. Nothing is written unless the chosen file is a picture that
// decodes whole; the target is replaced only once the new file is complete. A chosen file that
// already is the target is left alone. A large picture also gets its preview (PicturePreview). Raises
// EPictureError with a message for the user.
void Fetch(const QString& chosen, const QString& target);

} // namespace PictureFetch
