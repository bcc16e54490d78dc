#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One language file in memory: sections of key=value lines in file order. Section names and keys
// match without regard to case (hashed); of duplicates the first counts. The 8-bit bytes are read
// and written in the encoding that the file's own "General Settings" FontCharSet names.
class TLanguageFile {
public:
    // Reads the file at once; a missing file or an empty name gives an empty file.
    explicit TLanguageFile(const QString& fileName);

    const QString& FileName() const { return m_fileName; }
    // The decoded value, or the decoded default when the section or key is missing.
    QString ReadString(const QString& section, const QString& ident, const QString& defaultValue) const;
    // One "key=value" line per key of the section in file order (first occurrence, decoded), leaving
    // out keys whose value is empty. The list is cleared first.
    void ReadSectionValues(const QString& section, QStringList& list) const;
    bool SectionExists(const QString& section) const;
    QStringList Sections() const;
    // Encodes the value, replaces the key's first entry or appends one, and rewrites the file.
    void WriteString(const QString& section, const QString& ident, const QString& value);
    // Deletes the section and rewrites the file.
    void EraseSection(const QString& section);
    // Empties the file held in memory (the file on disk stays).
    void Clear();
    // The character set named by the file's "General Settings" (1 when none).
    int CharSet() const;

private:
    struct TEntry {
        QString key;
        QString raw;
        bool hasKey = false;
        QString line;
    };
    struct TSection {
        QString name;
        QList<TEntry> entries;
        QHash<QString, qsizetype> keys;
    };

    void Parse(const QString& text);
    void Rehash();
    const TSection* FindSection(const QString& name) const;
    QString Decode(const QString& raw) const;
    void Save() const;

    QString m_fileName;
    QList<TSection> m_sections;
    QHash<QString, qsizetype> m_sectionIndex;
    QByteArray m_encoding;
};
