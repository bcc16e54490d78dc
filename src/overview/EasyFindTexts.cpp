#include "EasyFindTexts.h"

#include "EasyFind.h"
#include "store/Field.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends the upper case of text made of ASCII and two-byte Latin-1 characters whose upper case is
// one Latin-1 character too, cut after `limit` characters, as bytes; false, with nothing appended,
// for any other text.
bool AppendLatin1Upper(QByteArray& out, QByteArrayView text, qsizetype limit) {
    const qsizetype start = out.size();
    out.resize(start + std::min(text.size(), 2 * limit));
    char* o = out.data() + start;
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size() && characters < limit; ++characters) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            *o++ = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : char(c);
            ++i;
            continue;
        }
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        // Not Latin-1, or µ, ß and ÿ, whose upper case lies outside it.
        if ((c != 0xc2 && c != 0xc3) || next < 0x80 || next > 0xbf || (c == 0xc2 && next == 0xb5) ||
            (c == 0xc3 && (next == 0x9f || next == 0xbf))) {
            out.truncate(start);
            return false;
        }
        *o++ = char(c);
        // à to þ apart from ÷ have their capitals 0x20 below.
        *o++ = char(c == 0xc3 && next >= 0xa0 && next != 0xb7 ? next - 0x20 : next);
        i += 2;
    }
    out.truncate(o - out.constData());
    return true;
}
} // namespace

void TEasyFindTexts::Clear() {
    m_table = nullptr;
    m_field = -1;
    m_stamp = {};
    m_texts.clear();
    m_starts.clear();
    m_blocks = 0;
    m_blockPairs.clear();
}

quint32 TEasyFindTexts::Pair(char first, char second) {
    const quint32 pair = quint32(static_cast<unsigned char>(first)) << 8 | static_cast<unsigned char>(second);
    return (pair * 2654435761u) >> (32 - PairBits);
}

void TEasyFindTexts::IndexPairs() {
    const int rows = int(m_starts.size()) - 1;
    m_blocks = (rows + BlockRows - 1) / BlockRows;
    // Block by block, so that each block's bit set is written while it stays in the cache.
    m_blockPairs.assign(size_t(m_blocks) * PairWords, 0);
    const char* texts = m_texts.constData();
    for (int block = 0; block < m_blocks; ++block) {
        quint64* pairs = m_blockPairs.data() + size_t(block) * PairWords;
        for (int row = block * BlockRows; row < std::min(rows, (block + 1) * BlockRows); ++row) {
            for (qsizetype at = m_starts[size_t(row)] + 1; at < m_starts[size_t(row) + 1]; ++at) {
                const quint32 pair = Pair(texts[at - 1], texts[at]);
                pairs[pair / 64] |= quint64(1) << (pair % 64);
            }
        }
    }
}

bool TEasyFindTexts::Load(const TTable& table, const TField& field, bool fold,
                          const std::function<bool()>& stop) {
    const TTable::TContentStamp stamp = table.ContentStamp();
    if (m_table == &table && m_field == field.Index() && m_fold == fold && m_stamp == stamp &&
        m_starts.size() == size_t(table.RecordCount()) + 1) {
        return true;
    }
    Clear();
    m_fold = fold;
    m_starts.reserve(size_t(table.RecordCount()) + 1);
    m_starts.push_back(0);
    const bool memo = field.IsBlob();
    const int stopped = table.ScanColumnUtf8(field.Index(), 0, [&](int, QByteArrayView text) {
        Append(text, memo);
        m_starts.push_back(m_texts.size());
        return stop();
    });
    if (stopped >= 0 || m_starts.size() != size_t(table.RecordCount()) + 1) {
        Clear();
        return false;
    }
    IndexPairs();
    m_table = &table;
    m_field = field.Index();
    m_stamp = stamp;
    return true;
}

void TEasyFindTexts::Append(QByteArrayView text, bool memo) {
    // The text as the search compares it: a memo's first bytes, another field's first characters.
    const QByteArrayView head =
        memo ? text.first(std::min<qsizetype>(text.size(), TEasyFind::MemoBytes)) : text;
    if (IsAscii(head)) {
        const QByteArrayView cut =
            head.first(memo ? head.size() : std::min<qsizetype>(head.size(), TEasyFind::MaxText));
        const qsizetype start = m_texts.size();
        m_texts.append(cut.data(), cut.size());
        if (m_fold) {
            for (char* c = m_texts.data() + start; c != m_texts.data() + m_texts.size(); ++c) {
                if (*c >= 'a' && *c <= 'z') {
                    *c = char(*c - 'a' + 'A');
                }
            }
        }
        return;
    }
    if (m_fold && AppendLatin1Upper(m_texts, head, memo ? head.size() : TEasyFind::MaxText)) {
        return;
    }
    QString cut = memo ? QString::fromUtf8(head) : QString::fromUtf8(head).left(TEasyFind::MaxText);
    m_texts += (m_fold ? cut.toUpper() : cut).toUtf8();
}

int TEasyFindTexts::Find(QByteArrayView key, int from) const {
    const int rows = int(m_starts.size()) - 1;
    from = std::max(from, 0);
    if (key.isEmpty() || from >= rows) {
        return -1;
    }
    if (key.size() < 2) {
        return FindIn(key, from, rows);
    }
    std::vector<quint32> pairs;
    for (qsizetype at = 1; at < key.size(); ++at) {
        pairs.push_back(Pair(key[at - 1], key[at]));
    }
    for (int block = from / BlockRows; block < m_blocks; ++block) {
        const quint64* held = m_blockPairs.data() + size_t(block) * PairWords;
        const bool candidate = std::all_of(pairs.begin(), pairs.end(), [held](quint32 pair) {
            return (held[pair / 64] >> (pair % 64) & 1) != 0;
        });
        if (!candidate) {
            continue;
        }
        const int hit =
            FindIn(key, std::max(from, block * BlockRows), std::min(rows, (block + 1) * BlockRows));
        if (hit >= 0) {
            return hit;
        }
    }
    return -1;
}

int TEasyFindTexts::FindIn(QByteArrayView key, int first, int last) const {
    const char* texts = m_texts.constData();
    const qsizetype end = m_starts[size_t(last)];
    qsizetype at = m_starts[size_t(first)];
    while (end - at >= key.size()) {
        const void* found = ::memmem(texts + at, size_t(end - at), key.data(), size_t(key.size()));
        if (found == nullptr) {
            return -1;
        }
        const qsizetype position = static_cast<const char*>(found) - texts;
        // The row holding the match's first byte: the last that starts at or before it.
        const auto next = std::upper_bound(m_starts.begin() + first, m_starts.begin() + last + 1, position);
        if (position + key.size() <= *next) {
            return int(next - m_starts.begin()) - 1;
        }
        // The match runs on into the next row, and so would any later one in this row.
        first = int(next - m_starts.begin());
        at = *next;
    }
    return -1;
}
