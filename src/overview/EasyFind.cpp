#include "EasyFind.h"

#include "store/ControlsDisabled.h"
#include "store/DataSource.h"
#include "store/Field.h"
#include "store/Table.h"

#include <QCursor>
#include <QGuiApplication>
#include <QRegularExpression>

#include <algorithm>

namespace {
constexpr int MemoBytes = TEasyFind::MemoBytes;

QByteArrayView Left(QByteArrayView bytes, qsizetype length) {
    return bytes.first(std::min(length, bytes.size()));
}

// Compares texts already in the case the settings ask for.
class TMatcher {
public:
    TMatcher(const TEasyFind& find, const QString& key)
        : m_fold(!find.CaseSensitive()), m_key(m_fold ? key.toUpper() : key), m_plainKey(Plain(m_key)) {
        m_asciiBytes = m_key.toUtf8();
        m_asciiKey = Ascii(m_asciiBytes);
        if (find.AllowWildcards()) {
            m_wildcards = true;
            QString pattern;
            const QString& multi = find.MultiCharPattern();
            for (int i = 0; i < m_key.size();) {
                if (!multi.isEmpty() && QStringView(m_key).mid(i).startsWith(multi)) {
                    pattern += QStringLiteral(".*");
                    i += int(multi.size());
                } else if (m_key.at(i) == find.SingleCharPattern()) {
                    pattern += QLatin1Char('.');
                    ++i;
                } else {
                    pattern += QRegularExpression::escape(m_key.mid(i, 1));
                    ++i;
                }
            }
            m_pattern.setPattern(QRegularExpression::anchoredPattern(pattern));
            m_pattern.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
        }
    }

    bool operator()(const QString& text) const {
        if (m_key.isEmpty()) {
            return false;
        }
        // Within Latin-1, apart from ß, comparing folded letters gives what comparing upper case
        // gives, without making an upper-case copy of every text.
        if (m_fold && !m_wildcards && m_plainKey && Plain(text)) {
            return QStringView(text).contains(QStringView(m_key), Qt::CaseInsensitive);
        }
        const QString compared = m_fold ? text.toUpper() : text;
        return m_wildcards ? m_pattern.match(compared).hasMatch() : compared.contains(m_key);
    }

    // The same for a stored text given as UTF-8, cut like SearchText. Text of plain ASCII and Latin-1
    // letters other than ß is compared as bytes when the key is ASCII: such a letter's upper case is no
    // ASCII letter, so a hit lies in a run of ASCII characters and bytes compare as characters do.
    bool Utf8(QByteArrayView bytes, bool memo) const {
        if (m_key.isEmpty()) {
            return false;
        }
        if (!m_wildcards && m_asciiKey) {
            const QByteArrayView cut = memo ? Left(bytes, MemoBytes) : bytes;
            switch (Kind(cut)) {
            case tkAscii:
                return Contains(memo ? cut : Left(bytes, TEasyFind::MaxText));
            case tkLatin1:
                // Each character is at most two bytes: a text longer than the limit is cut by characters.
                if (memo || bytes.size() <= TEasyFind::MaxText) {
                    return Contains(cut);
                }
                break;
            case tkOther:
                break;
            }
        }
        return (*this)(memo ? QString::fromUtf8(Left(bytes, MemoBytes))
                            : QString::fromUtf8(bytes).left(TEasyFind::MaxText));
    }

private:
    enum TTextKind { tkAscii, tkLatin1, tkOther };

    // Whether UTF-8 text is plain ASCII, or ASCII and two-byte Latin-1 letters apart from ß (a
    // sequence cut at the end included), or anything else.
    static TTextKind Kind(QByteArrayView bytes) {
        TTextKind kind = tkAscii;
        const qsizetype size = bytes.size();
        for (qsizetype at = 0; at < size; ++at) {
            const auto c = static_cast<unsigned char>(bytes[at]);
            if (c < 0x80) {
                continue;
            }
            if (c != 0xc2 && c != 0xc3) {
                return tkOther;
            }
            kind = tkLatin1;
            if (at + 1 == size) {
                break;
            }
            const auto next = static_cast<unsigned char>(bytes[at + 1]);
            if (next < 0x80 || next > 0xbf || (c == 0xc3 && next == 0x9f)) {
                return tkOther;
            }
            ++at;
        }
        return kind;
    }

    static bool Ascii(QByteArrayView bytes) {
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                return false;
            }
        }
        return true;
    }

    static char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

    bool Contains(QByteArrayView text) const {
        const qsizetype length = m_asciiBytes.size();
        for (qsizetype at = 0; at + length <= text.size(); ++at) {
            qsizetype i = 0;
            while (i < length && (m_fold ? Upper(text[at + i]) : text[at + i]) == m_asciiBytes[i]) {
                ++i;
            }
            if (i == length) {
                return true;
            }
        }
        return false;
    }

    static bool Plain(QStringView text) {
        for (const QChar c : text) {
            if (c.unicode() > 0xff || c.unicode() == 0xdf) {
                return false;
            }
        }
        return true;
    }

    bool m_fold;
    QString m_key;
    bool m_plainKey;
    bool m_asciiKey = false;
    QByteArray m_asciiBytes;
    bool m_wildcards = false;
    QRegularExpression m_pattern;
};

// Shows the hourglass for its lifetime, where there is a screen to show it on.
class TWaitCursor {
public:
    TWaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (m_shown) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~TWaitCursor() {
        if (m_shown) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    bool m_shown;
};

} // namespace

TEasyFind::TEasyFind(QObject* owner) : TComponent(owner) {}

QString TEasyFind::SearchText(const TField& field, const QVariant& value) {
    if (field.IsBlob()) {
        return QString::fromUtf8(value.toString().toUtf8().left(MemoBytes));
    }
    return field.DisplayTextOf(value).left(MaxText);
}

bool TEasyFind::Matches(const QString& key, const QString& text) const {
    return TMatcher(*this, key.left(MaxText))(text);
}

void TEasyFind::Find() {
    m_stop = false;
    const QString key = m_searchKey.left(MaxText);
    TTable* table = m_dataSource ? m_dataSource->DataSet() : nullptr;
    if (!table || !table->Active()) {
        throw EDBSearchError(QStringLiteral("DataSource not set or its dataset is closed"));
    }
    if (table->FieldCount() == 0) {
        throw EDBSearchPatternNotFound(QStringLiteral("Search Field not in Dataset"));
    }
    TField* field = table->Fields(0);
    const QString wanted = m_searchField.toUpper();
    for (int i = 0; i < table->FieldCount(); ++i) {
        if (table->Fields(i)->DisplayLabel().toUpper() == wanted) {
            field = table->Fields(i);
            break;
        }
    }
    m_lastKey = key.toUpper();
    m_lastField = wanted;

    const TBookmark bookmark = table->GetBookmark();
    // Browsing a record, the search looks without moving: a miss leaves the table and its controls
    // untouched. Otherwise the table is moved first, which also stores an edit under way.
    if (bookmark.Valid && table->State() == dsBrowse) {
        const int from = m_findNext ? std::min(table->RecNo(), table->RecordCount() - 1) : 0;
        const int hit = Scan(*table, *field, key, from);
        if (hit < 0) {
            m_findNext = false;
            m_found = false;
            return;
        }
        GoTo(*table, hit);
        return;
    }
    TControlsDisabled suspended(*table);
    if (MoveToStart(*table)) {
        suspended.Resume();
    }
    const int hit = Scan(*table, *field, key, table->RecNo() - 1);
    if (hit >= 0) {
        m_found = true;
        table->SetRecNo(hit + 1);
    } else {
        if (table->BookmarkValid(bookmark)) {
            table->GotoBookmark(bookmark);
        }
        m_findNext = false;
        m_found = false;
    }
}

bool TEasyFind::MoveToStart(TTable& table) {
    if (m_findNext) {
        table.Next();
    } else {
        table.First();
    }
    if (table.Eof()) {
        m_findNext = false;
        m_found = false;
    }
    return table.Eof();
}

void TEasyFind::GoTo(TTable& table, int hit) {
    TControlsDisabled suspended(table);
    if (MoveToStart(table)) {
        suspended.Resume();
    }
    m_found = true;
    table.SetRecNo(hit + 1);
}

int TEasyFind::Scan(const TTable& table, const TField& searched, const QString& key, int from) {
    TWaitCursor hourglass;
    const TMatcher matches(*this, key);
    bool stopped = false;
    const auto next = [&] {
        stopped = m_stop;
        return stopped;
    };
    // The record the table stands on is looked at even when the set is at its end.
    int hit = -1;
    if ((searched.DataType() == ftString || searched.IsBlob()) && !m_allowWildcards &&
        table.State() == dsBrowse) {
        // The kept texts are the cut texts in upper case, which is what every way of matching above
        // compares (the byte and Latin-1 shortcuts give what comparing upper case gives).
        if (m_texts.Load(table, searched, !m_caseSensitive, next)) {
            hit = m_texts.Find((m_caseSensitive ? key : key.toUpper()).toUtf8(), from);
        }
    } else if (searched.DataType() == ftString || searched.IsBlob()) {
        const bool memo = searched.IsBlob();
        hit = table.ScanColumnUtf8(searched.Index(), from, [&](int, QByteArrayView text) {
            return matches.Utf8(text, memo) || next();
        });
    } else {
        hit = table.ScanColumn(searched.Index(), from, [&](int, const QVariant& value) {
            return matches(SearchText(searched, value)) || next();
        });
    }
    m_stop = false;
    return stopped ? -1 : hit;
}

void TEasyFind::FindNext() {
    m_stop = false;
    m_findNext = false;
    if (m_searchKey.isEmpty() || m_searchKey.left(MaxText).toUpper() != m_lastKey ||
        m_searchField.toUpper() != m_lastField) {
        throw EDBSearchError(QStringLiteral("No initial Find/Locate done first"));
    }
    m_findNext = true;
    try {
        Find();
    } catch (...) {
        m_findNext = false;
        throw;
    }
    m_findNext = false;
}
