#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder of its own for one test: Data/ with fresh tables, Billeder/, and the shipped
// language files and help page copied in.
class TProgramFolder {
public:
    TProgramFolder();
    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path(); }
    QString DataPath() const;
    QString PicturePath() const;
    QString FilePath(const QString& relative) const;
    // Source tree paths for shipped files.
    static QString SourcePath(const QString& relative);

private:
    QTemporaryDir m_dir;
};
