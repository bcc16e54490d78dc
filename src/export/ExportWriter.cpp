#include "ExportWriter.h"

#include "ExportError.h"

#include <QFileDevice>
#include <QIODevice>
#include <QStringEncoder>

#include <algorithm>

namespace {
constexpr qsizetype BlockBytes = 64 * 1024;
const char* const Codec = "windows-1252";

void RaiseWriteError() {
    const QString message = QStringLiteral("Stream write error");
    throw EExportError(message, ekWriteFailed, QString(), message);
}
} // namespace

TExportWriter::TExportWriter(QIODevice& device) : m_device(device) {
    m_pending.reserve(BlockBytes + 1024);
}

QByteArray TExportWriter::Encode(const QString& text) {
    // Below 0x80 and from 0xA0 to 0xFF the code page agrees with Latin-1, which Qt converts fastest.
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t code = c.unicode();
        return code < 0x80 || (code >= 0xA0 && code <= 0xFF);
    });
    if (latin1) {
        return text.toLatin1();
    }
    QStringEncoder encoder(Codec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (!encoder.hasError()) {
        return bytes;
    }
    // A character the code page lacks becomes "?"; the encoder's error state sticks, so each character
    // gets one of its own.
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(Codec, QStringConverter::Flag::Stateless);
        const QByteArray one = single(QStringView(text).mid(i, length));
        bytes += single.hasError() ? QByteArray("?") : one;
        i += length;
    }
    return bytes;
}

void TExportWriter::Write(const QString& text) {
    Append(text);
}

void TExportWriter::WriteLn(const QString& text) {
    Append(text);
    m_pending.append("\r\n", 2);
}

void TExportWriter::Append(QStringView text) {
    // Below 0x80 and from 0xA0 to 0xFF the code page is Latin-1: such text is copied byte by byte in
    // one pass; anything else goes through the converter.
    const qsizetype start = m_pending.size();
    m_pending.resize(start + text.size());
    char* out = m_pending.data() + start;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= 0x100 || (code >= 0x80 && code < 0xA0)) {
            m_pending.truncate(start);
            m_pending += Encode(text.toString());
            break;
        }
        *out++ = char(code);
    }
    if (m_pending.size() >= BlockBytes) {
        WriteBlock();
    }
}

void TExportWriter::WriteBlock() {
    if (m_pending.isEmpty()) {
        return;
    }
    if (m_device.write(m_pending) != m_pending.size()) {
        RaiseWriteError();
    }
    m_pending.resize(0); // keeps the block's room
}

void TExportWriter::Flush() {
    WriteBlock();
    if (auto* file = qobject_cast<QFileDevice*>(&m_device)) {
        if (!file->flush()) {
            RaiseWriteError();
        }
    }
}
