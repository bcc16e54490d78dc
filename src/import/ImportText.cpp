#include "ImportText.h"

#include "ImportError.h"

#include "localisation/TextCatalogue.h"

#include <QFile>
#include <QStringDecoder>

namespace {
bool StartsWithUtf16Mark(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF),
// told without decoding them; stops at the first fault.
bool ValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) {
            return false;
        }
        for (int i = 2; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += length;
    }
    return true;
}

// The characters of 0x80 to 0x9F in Windows-1252; 0 where the code page has none.
constexpr char16_t HighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Windows-1252 read by its table; false when a byte the code page leaves undefined turns up, which
// the converter then reads.
bool DecodeWindows1252(QByteArrayView bytes, QString& text) {
    text.resize(bytes.size());
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char16_t code = b;
        if (b >= 0x80 && b < 0xA0) {
            code = HighControls[b - 0x80];
            if (code == 0) {
                return false;
            }
        }
        *out++ = QChar(code);
    }
    return true;
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
    case ieWindows1252:
        return FromWindows1252(m_bytes);
    case ieUtf8:
        break;
    }
    QString text = QString::fromUtf8(m_bytes);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

QByteArray TImportText::Readable(TImportEncoding encoding) const {
    switch (encoding) {
    case ieUtf16:
        return Decode(ieUtf16).toUtf8();
    case ieWindows1252:
        return m_bytes;
    case ieUtf8:
        break;
    }
    return m_bytes.startsWith("\xEF\xBB\xBF") ? m_bytes.sliced(3) : m_bytes;
}

QString TImportText::FromWindows1252(QByteArrayView bytes) {
    QString text;
    if (DecodeWindows1252(bytes, text)) {
        return text;
    }
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
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
