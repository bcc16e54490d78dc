#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

enum TImportEncoding { ieUtf8, ieWindows1252, ieUtf16 };

// The bytes of a file to import and how they turn into text: UTF-8 with or without a byte-order mark,
// Windows-1252 as the program's own export writes, or UTF-16 with its mark as some spreadsheets save.
class TImportText {
public:
    // Raises EImportError for an empty file or one that is not text (zero bytes without a UTF-16 mark).
    explicit TImportText(QByteArray bytes);
    // Reads the file; raises EImportError naming it when it cannot be read.
    static TImportText FromFile(const QString& path);

    const QByteArray& Bytes() const { return m_bytes; }
    // UTF-16 when the file starts with its mark; UTF-8 when the bytes are valid UTF-8; Windows-1252 else.
    TImportEncoding Detected() const { return m_detected; }
    // The text in an encoding, without a byte-order mark.
    QString Decode(TImportEncoding encoding) const;
    // The bytes the delimited reader takes for an encoding, without a byte-order mark: the file's own
    // for UTF-8 and Windows-1252, UTF-16 turned into UTF-8. They are Windows-1252 only for that encoding.
    QByteArray Readable(TImportEncoding encoding) const;
    // Windows-1252 bytes as text.
    static QString FromWindows1252(QByteArrayView bytes);

    static QString EncodingName(TImportEncoding encoding);

private:
    QByteArray m_bytes;
    TImportEncoding m_detected = ieUtf8;
};
