#include "localisation/LanguageFile.h"

#include "localisation/LocalUtils.h"
#include "store/Error.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const QString GeneralSettings = QStringLiteral("General Settings");

QString Fold(const QString& text) {
    return text.toCaseFolded();
}

// Trims characters with codes 0 to 32 from both ends.
QStringView TrimControls(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= 32) {
        ++start;
    }
    while (end > start && text.at(end - 1).unicode() <= 32) {
        --end;
    }
    return text.mid(start, end - start);
}
} // namespace

TLanguageFile::TLanguageFile(const QString& fileName) : m_fileName(fileName), m_encoding("windows-1252") {
    if (fileName.isEmpty()) {
        return;
    }
    QFile file(fileName);
    if (!file.exists()) {
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw EHabitraError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    // The structure is plain ASCII: read it byte for byte to learn the character set, then decode
    // the whole file in that set.
    Parse(QString::fromLatin1(bytes));
    m_encoding = LocalUtils::EncodingOfCharSet(CharSet());
    QStringDecoder decoder(m_encoding.constData());
    if (decoder.isValid()) {
        Parse(decoder.decode(bytes));
    }
}

void TLanguageFile::Parse(const QString& text) {
    m_sections.clear();
    TSection* current = nullptr;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n')) {
            ++end;
        }
        const QStringView line = TrimControls(QStringView(text).mid(pos, end - pos));
        // CR LF, LF or CR ends a line.
        pos = end;
        if (pos < size && text.at(pos) == QLatin1Char('\r')) {
            ++pos;
        }
        if (pos < size && text.at(pos) == QLatin1Char('\n')) {
            ++pos;
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            m_sections.append(TSection{line.mid(1, line.size() - 2).trimmed().toString(), {}, {}});
            current = &m_sections.last();
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        TEntry entry;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            entry.hasKey = true;
            entry.key = line.left(equals).trimmed().toString();
            entry.raw = line.mid(equals + 1).trimmed().toString();
        } else {
            entry.line = line.toString();
        }
        current->entries.append(entry);
    }
    Rehash();
}

void TLanguageFile::Rehash() {
    for (TSection& section : m_sections) {
        section.keys.clear();
        for (qsizetype e = section.entries.size() - 1; e >= 0; --e) {
            if (section.entries.at(e).hasKey) {
                section.keys.insert(Fold(section.entries.at(e).key), e);
            }
        }
    }
    // The first of equally named sections counts.
    m_sectionIndex.clear();
    for (qsizetype s = m_sections.size() - 1; s >= 0; --s) {
        m_sectionIndex.insert(Fold(m_sections.at(s).name), s);
    }
}

const TLanguageFile::TSection* TLanguageFile::FindSection(const QString& name) const {
    const auto found = m_sectionIndex.constFind(Fold(name));
    return found == m_sectionIndex.constEnd() ? nullptr : &m_sections.at(found.value());
}

QString TLanguageFile::Decode(const QString& raw) const {
    const QByteArray encoding = m_encoding;
    return LocalUtils::DecodeValue(raw, [encoding](unsigned char byte) {
        QStringDecoder decoder(encoding.constData());
        return decoder.isValid() ? decoder.decode(QByteArray(1, static_cast<char>(byte)))
                                 : QString(QChar(char16_t(byte)));
    });
}

QString TLanguageFile::ReadString(const QString& section, const QString& ident,
                                  const QString& defaultValue) const {
    if (const TSection* found = FindSection(section)) {
        const auto key = found->keys.constFind(Fold(ident));
        if (key != found->keys.constEnd()) {
            return Decode(found->entries.at(key.value()).raw);
        }
    }
    return Decode(defaultValue);
}

void TLanguageFile::ReadSectionValues(const QString& section, QStringList& list) const {
    list.clear();
    const TSection* found = FindSection(section);
    if (found == nullptr) {
        return;
    }
    for (qsizetype e = 0; e < found->entries.size(); ++e) {
        const TEntry& entry = found->entries.at(e);
        // Only the first occurrence of a key is handed out.
        if (!entry.hasKey || found->keys.value(Fold(entry.key), -1) != e) {
            continue;
        }
        const QString value = Decode(entry.raw);
        if (!value.isEmpty()) {
            list.append(entry.key + QLatin1Char('=') + value);
        }
    }
}

bool TLanguageFile::SectionExists(const QString& section) const {
    return FindSection(section) != nullptr;
}

QStringList TLanguageFile::Sections() const {
    QStringList names;
    for (const TSection& section : m_sections) {
        names.append(section.name);
    }
    return names;
}

int TLanguageFile::CharSet() const {
    const TSection* settings = FindSection(GeneralSettings);
    if (settings == nullptr) {
        return 1;
    }
    const auto key = settings->keys.constFind(Fold(QStringLiteral("FontCharSet")));
    if (key == settings->keys.constEnd()) {
        return 1;
    }
    return LocalUtils::CharSetFromName(LocalUtils::DecodeValue(settings->entries.at(key.value()).raw));
}

void TLanguageFile::WriteString(const QString& section, const QString& ident, const QString& value) {
    TSection* target = const_cast<TSection*>(FindSection(section));
    if (target == nullptr) {
        m_sections.append(TSection{section, {}, {}});
        target = &m_sections.last();
    }
    const QString encoded = LocalUtils::EncodeValue(value);
    const auto key = target->keys.constFind(Fold(ident));
    if (key != target->keys.constEnd()) {
        target->entries[key.value()].raw = encoded;
    } else {
        target->entries.append(TEntry{ident, encoded, true, {}});
    }
    Rehash();
    m_encoding = LocalUtils::EncodingOfCharSet(CharSet());
    Save();
}

void TLanguageFile::EraseSection(const QString& section) {
    const auto found = m_sectionIndex.constFind(Fold(section));
    if (found == m_sectionIndex.constEnd()) {
        return;
    }
    m_sections.removeAt(found.value());
    Rehash();
    Save();
}

void TLanguageFile::Clear() {
    m_sections.clear();
    m_sectionIndex.clear();
}

void TLanguageFile::Save() const {
    if (m_fileName.isEmpty()) {
        return;
    }
    QString text;
    for (const TSection& section : m_sections) {
        text += QLatin1Char('[') + section.name + QStringLiteral("]\r\n");
        for (const TEntry& entry : section.entries) {
            text += (entry.hasKey ? entry.key + QLatin1Char('=') + entry.raw : entry.line) +
                    QStringLiteral("\r\n");
        }
        text += QStringLiteral("\r\n");
    }
    // Written in the character set the file names now.
    QStringEncoder encoder(m_encoding.constData());
    const QByteArray bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw EHabitraError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(m_fileName, file.errorString()));
    }
}
