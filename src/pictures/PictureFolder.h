#pragma once

#include "store/Schema.h"

#include <QString>

// The folder `Billeder` beside the program file, where every item's picture is kept as
// <Foto>.jpg together with the placeholder "Ingen.jpg". Names are matched without regard to
// letter case, as the pictures come from a file system that ignores it.
class TPictureFolder {
public:
    static inline const QString& FolderName = Schema::PictureFolder;
    static inline const QString PlaceholderName = QStringLiteral("Ingen.jpg");

    // `Billeder` in QCoreApplication::applicationDirPath().
    TPictureFolder();
    // A given folder, for tests and tools.
    explicit TPictureFolder(const QString& path);

    const QString& Path() const { return m_path; }

    // The folder, then `foto` as text, then ".jpg"; an empty `foto` gives ".jpg". Not looked up.
    QString FileName(const QString& foto) const;
    // The file `name` in the folder: an exact match first, then one that differs only in letter
    // case; when neither exists, the path the name asks for.
    QString Find(const QString& name) const;
    // Find applied to the picture of an item.
    QString ItemPicture(const QString& foto) const;
    QString Placeholder() const { return Find(PlaceholderName); }

    // Case-insensitive lookup of `name` inside `folder`, as Find does.
    static QString FindIn(const QString& folder, const QString& name);

private:
    QString m_path;
};
