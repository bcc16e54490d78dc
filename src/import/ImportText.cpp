#include "ImportText.h"

#include "ImportError.h"

#include "localisation/TextCatalogue.h"

#include <QFile>
#include <QStringDecoder>

namespace {
bool StartsWithUtf16Mark(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

bool ValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}
} // namespace

TImportText::TImportText(QByteArray bytes) : m_bytes(std::move(bytes)) {
    if (m_bytes.isEmpty() || m_bytes == "\xEF\xBB\xBF") {
        throw EImportError(LocalText("Import.EmptyFile", "Filen er tom"));
    }
    if (StartsWithUtf16Mark(m_bytes)) {
        m_detected = ieUtf16;
    } else if (m_bytes.contains('\0')) {
        throw EImportError(LocalText("Import.NotText", "Filen er ikke en tekstfil"));
    } else {
        m_detected = ValidUtf8(m_bytes) ? ieUtf8 : ieWindows1252;
    }
}

TImportText TImportText::FromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EImportError(
            LocalText("Import.CannotRead", "Filen \"%1\" kan ikke læses: %2").arg(path, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw EImportError(
            LocalText("Import.CannotRead", "Filen \"%1\" kan ikke læses: %2").arg(path, file.errorString()));
    }
    try {
        return TImportText(std::move(bytes));
    } catch (const EImportError& error) {
        throw EImportError(QStringLiteral("%1: %2").arg(path, error.Message()));
    }
}

QString TImportText::Decode(TImportEncoding encoding) const {
    switch (encoding) {
    case ieUtf16: {
        QStringDecoder decoder(m_bytes.startsWith("\xFE\xFF") ? QStringDecoder::Utf16BE
                                                              : QStringDecoder::Utf16LE);
        QString text = decoder.decode(m_bytes);
        if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
        return text;
    }
    case ieWindows1252: {
        QStringDecoder decoder("windows-1252");
        return decoder.decode(m_bytes);
    }
    case ieUtf8:
        break;
    }
    QString text = QString::fromUtf8(m_bytes);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

QString TImportText::EncodingName(TImportEncoding encoding) {
    switch (encoding) {
    case ieUtf8:
        return QStringLiteral("UTF-8");
    case ieWindows1252:
        return QStringLiteral("Windows-1252");
    case ieUtf16:
        return QStringLiteral("UTF-16");
    }
    return {};
}
