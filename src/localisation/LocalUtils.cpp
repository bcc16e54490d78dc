#include "localisation/LocalUtils.h"

#include "toolkit/ComponentModel.h"

#include <QObject>
#include <algorithm>

namespace {
const QChar Quote = QLatin1Char('"');

struct TCharSet {
    const char* name;
    int value;
    const char* encoding;
};

const TCharSet CharSets[] = {
    {"ANSI_CHARSET", 0, "windows-1252"},      {"DEFAULT_CHARSET", 1, "windows-1252"},
    {"SYMBOL_CHARSET", 2, "windows-1252"},    {"MAC_CHARSET", 77, "windows-1252"},
    {"SHIFTJIS_CHARSET", 128, "Shift_JIS"},   {"HANGEUL_CHARSET", 129, "windows-949"},
    {"JOHAB_CHARSET", 130, "windows-1252"},   {"GB2312_CHARSET", 134, "GBK"},
    {"CHINESEBIG5_CHARSET", 136, "Big5"},     {"GREEK_CHARSET", 161, "windows-1253"},
    {"TURKISH_CHARSET", 162, "windows-1254"}, {"VIETNAMESE_CHARSET", 163, "windows-1258"},
    {"HEBREW_CHARSET", 177, "windows-1255"},  {"ARABIC_CHARSET", 178, "windows-1256"},
    {"BALTIC_CHARSET", 186, "windows-1257"},  {"RUSSIAN_CHARSET", 204, "windows-1251"},
    {"THAI_CHARSET", 222, "windows-874"},     {"EASTEUROPE_CHARSET", 238, "windows-1250"},
    {"OEM_CHARSET", 255, "windows-1252"},
};

bool IsBlank(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// A quoted string starting at text[pos] (a quote): doubled quotes stand for one; pos ends after the
// closing quote, or at the end when there is none.
QString ExtractQuoted(const QString& text, qsizetype& pos) {
    QString result;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text.at(pos++);
        if (c == Quote) {
            if (pos < text.size() && text.at(pos) == Quote) {
                ++pos;
            } else {
                break;
            }
        }
        result.append(c);
    }
    return result;
}
} // namespace

QString LocalUtils::DecodeValue(const QString& raw, const TByteDecoder& byteDecoder) {
    static const QString codeStart = QStringLiteral("\"#");
    QString result;
    QString rest = raw;
    qsizetype pair;
    while ((pair = rest.indexOf(codeStart)) >= 0) {
        result.append(rest.left(pair));
        rest.remove(0, pair + 2);
        QString codes;
        const qsizetype quote = rest.indexOf(Quote);
        if (quote >= 0) {
            codes = rest.left(quote);
            rest.remove(0, quote + 1);
        }
        const QStringList pieces = codes.split(QLatin1Char('#'));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            bool ok = false;
            const int code = (i == 0 ? pieces.at(i) : pieces.at(i).trimmed()).toInt(&ok, 10);
            if (!ok) {
                continue;
            }
            const auto byte = static_cast<unsigned char>(code & 0xFF);
            result.append(byteDecoder && byte >= 0x80 ? byteDecoder(byte) : QString(QChar(char16_t(byte))));
        }
    }
    result.append(rest);
    if (result.size() >= 2 && result.at(0) == Quote) {
        QString unquoted;
        for (qsizetype pos = 1; pos < result.size(); ++pos) {
            const QChar c = result.at(pos);
            if (c == Quote) {
                if (pos + 1 < result.size() && result.at(pos + 1) == Quote) {
                    ++pos;
                } else {
                    return unquoted;
                }
            }
            unquoted.append(c);
        }
        return result.mid(1, result.size() - 2);
    }
    return result;
}

QString LocalUtils::EncodeValue(const QString& text) {
    QString quoted = text;
    quoted.replace(Quote, QStringLiteral("\"\""));
    quoted = Quote + quoted + Quote;
    QString result;
    result.reserve(quoted.size() + 8);
    bool previousControl = false;
    for (const QChar c : quoted) {
        const bool control = c.unicode() < 32;
        if (control) {
            if (!previousControl) {
                result.append(Quote);
            }
            result.append(QLatin1Char('#')).append(QString::number(c.unicode()));
        } else {
            if (previousControl) {
                result.append(Quote);
            }
            result.append(c);
        }
        previousControl = control;
    }
    return result;
}

QString LocalUtils::CommaText(const QStringList& items) {
    if (items.size() == 1 && items.first().isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList written;
    written.reserve(items.size());
    for (const QString& item : items) {
        const bool quote = std::any_of(item.begin(), item.end(), [](QChar c) {
            return IsBlank(c) || c == Quote || c == QLatin1Char(',');
        });
        if (quote) {
            QString doubled = item;
            doubled.replace(Quote, QStringLiteral("\"\""));
            written.append(Quote + doubled + Quote);
        } else {
            written.append(item);
        }
    }
    return written.join(QLatin1Char(','));
}

QStringList LocalUtils::CommaTextToList(const QString& input) {
    // A NUL ends the text.
    const QString text = input.left(input.indexOf(QChar(0)) >= 0 ? input.indexOf(QChar(0)) : input.size());
    QStringList items;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size && IsBlank(text.at(pos))) {
        ++pos;
    }
    while (pos < size) {
        if (text.at(pos) == Quote) {
            items.append(ExtractQuoted(text, pos));
        } else {
            const qsizetype start = pos;
            while (pos < size && text.at(pos).unicode() > 32 && text.at(pos) != QLatin1Char(',')) {
                ++pos;
            }
            items.append(text.mid(start, pos - start));
        }
        while (pos < size && IsBlank(text.at(pos))) {
            ++pos;
        }
        if (pos < size && text.at(pos) == QLatin1Char(',')) {
            if (pos + 1 == size) {
                items.append(QString());
            }
            do {
                ++pos;
            } while (pos < size && IsBlank(text.at(pos)));
        }
    }
    return items;
}

QString LocalUtils::NameOf(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 ? line.left(equals) : line;
}

QString LocalUtils::ValueOf(const QString& line) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 ? line.mid(equals + 1) : QString();
}

int LocalUtils::IndexOfName(const QStringList& lines, const QString& name) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && QStringView(line).left(equals).compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void LocalUtils::SetValue(QStringList& lines, const QString& name, const QString& value) {
    const int index = IndexOfName(lines, name);
    const QString line = name + QLatin1Char('=') + value;
    if (index >= 0) {
        lines[index] = line;
    } else {
        lines.append(line);
    }
}

bool LocalUtils::ContainsText(const QStringList& list, const QString& text) {
    return list.contains(text, Qt::CaseInsensitive);
}

int LocalUtils::CharSetFromName(const QString& name) {
    const QString upper = name.toUpper();
    for (const TCharSet& charSet : CharSets) {
        if (upper == QLatin1String(charSet.name)) {
            return charSet.value;
        }
    }
    return 1;
}

QString LocalUtils::CharSetName(int charSet) {
    for (const TCharSet& entry : CharSets) {
        if (entry.value == charSet) {
            return QLatin1String(entry.name);
        }
    }
    return QStringLiteral("DEFAULT_CHARSET");
}

const char* LocalUtils::EncodingOfCharSet(int charSet) {
    for (const TCharSet& entry : CharSets) {
        if (entry.value == charSet) {
            return entry.encoding;
        }
    }
    return "windows-1252";
}

QString LocalUtils::PropertyKey(const QObject* component, const QObject* window, const QString& property) {
    if (component == window) {
        return property;
    }
    const QString path = ComponentModel::ComponentPath(component, window);
    return path.isEmpty() ? QString() : path + QLatin1Char('.') + property;
}
