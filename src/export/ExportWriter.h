#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes the export's text to an open device in the Windows ANSI character set (Windows-1252), without a
// byte-order mark. Text is encoded as it comes and written in blocks; a device that takes fewer bytes than it
// was given raises "Stream write error".
class TExportWriter {
public:
    explicit TExportWriter(QIODevice& device);
    virtual ~TExportWriter() = default;
    TExportWriter(const TExportWriter&) = delete;
    TExportWriter& operator=(const TExportWriter&) = delete;

    void Write(const QString& text);
    void WriteLn(const QString& text);
    // Hands everything gathered to the device and, for a file, on to the system.
    void Flush();

    // Windows-1252; a character it lacks becomes "?".
    static QByteArray Encode(const QString& text);

private:
    void Append(QStringView text);
    void WriteBlock();

    QIODevice& m_device;
    QByteArray m_pending; // encoded, waiting to be written
};
