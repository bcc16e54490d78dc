#include "PictureFetch.h"

#include "JpegLoader.h"
#include "PictureDecode.h"
#include "PicturePreview.h"

#include "localisation/TextCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PictureFetch {

using PictureDecode::pkJpeg;
using PictureDecode::pkNone;

namespace {

constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

[[noreturn]] void Unreadable(const QString& name, const QString& reason) {
    throw EPictureError(
        LocalText("Pictures.Unreadable",
                  "Billedet \"%1\" kan ikke læses og er ikke hentet; det gemte billede er uændret.")
            .arg(name) +
        QStringLiteral("\n\r") + reason);
}

[[noreturn]] void NotAPicture(const QString& name) {
    throw EPictureError(
        LocalText("Pictures.NotAPicture",
                  "Filen \"%1\" er ikke et billede i JPEG-, PNG- eller HEIC-format og er ikke hentet; det "
                  "gemte billede er uændret.")
            .arg(name));
}

[[noreturn]] void CopyFailed(const QString& chosen, const QString& target, const QString& reason) {
    throw EPictureError(
        QStringLiteral("Billedet \"%1\" kunne ikke kopieres til \"%2\": %3").arg(chosen, target, reason));
}

} // namespace

QStringList DialogFilters() {
    return {LocalText("Pictures.FilterPictures", "Billeder") +
                QStringLiteral(" (*.jpg *.jpeg *.png *.heic *.heif *.JPG *.JPEG *.PNG *.HEIC *.HEIF)"),
            LocalText("Pictures.FilterAll", "Alle filer") + QStringLiteral(" (*)")};
}

void Fetch(const QString& chosen, const QString& target) {
    const QFileInfo chosenInfo(chosen);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && chosenInfo.canonicalFilePath() == targetInfo.canonicalFilePath()) {
        return;
    }
    QFile source(chosen);
    if (!source.open(QIODevice::ReadOnly)) {
        CopyFailed(chosen, target, source.errorString());
    }
    const QByteArray head = source.read(64);
    if (source.error() != QFileDevice::NoError) {
        CopyFailed(chosen, target, source.errorString());
    }
    const PictureDecode::TPictureKind kind = PictureDecode::KindOf(head);
    if (kind == pkNone) {
        NotAPicture(chosen);
    }

    // Decoded whole before anything is written: a damaged file never replaces a good picture.
    QByteArray bytes;
    if (kind != pkJpeg) {
        if (source.size() > MaxFileBytes) {
            Unreadable(chosen, QStringLiteral("the file is too large (%1 bytes)").arg(source.size()));
        }
        source.seek(0);
        bytes = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            CopyFailed(chosen, target, source.errorString());
        }
    }
    QByteArray converted;
    QImage upright;
    try {
        if (kind == pkJpeg) {
            upright = LoadJpeg(chosen);
        } else {
            upright = PictureDecode::Decode(bytes, chosen);
            converted = EncodeJpeg(upright, target, 90);
        }
    } catch (const EPictureError& error) {
        Unreadable(chosen, error.Message());
    }

    // Written beside the target and renamed over it: a failed copy leaves the old picture whole.
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly)) {
        CopyFailed(chosen, target, copy.errorString());
    }
    if (kind == pkJpeg) {
        source.seek(0);
        QByteArray block;
        while (!(block = source.read(1 << 20)).isEmpty()) {
            if (copy.write(block) != block.size()) {
                CopyFailed(chosen, target, copy.errorString());
            }
        }
        if (source.error() != QFileDevice::NoError) {
            CopyFailed(chosen, target, source.errorString());
        }
    } else if (copy.write(converted) != converted.size()) {
        CopyFailed(chosen, target, copy.errorString());
    }
    if (!copy.commit()) {
        CopyFailed(chosen, target, copy.errorString());
    }
    // From the pixels already decoded; without it the picture area makes one later.
    if (!PicturePreview::Write(target, upright, upright.size())) {
        QFile::remove(PicturePreview::FileFor(target)); // a previous photo's
    }
}

} // namespace PictureFetch
