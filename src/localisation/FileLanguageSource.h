#pragma once

#include "localisation/CustomLanguageSource.h"

// A source whose languages live in files: the file name is the value part of a Languages entry.
class TFileLanguageSource : public TCustomLanguageSource {
    Q_OBJECT

public:
    explicit TFileLanguageSource(QObject* owner = nullptr);

    // Kept only; never added to a file name.
    const QString& DefaultFileExt() const { return m_defaultFileExt; }
    void SetDefaultFileExt(const QString& extension) { m_defaultFileExt = extension; }
    // Empty for -1; otherwise the file of the first entry whose display name matches entry `index`'s.
    QString GetLanguageFileName(int index) const;

private:
    QString m_defaultFileExt = QStringLiteral("lng");
};
