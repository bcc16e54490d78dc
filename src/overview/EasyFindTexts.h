#pragma once

#include "store/Table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>
#include <vector>

class TField;

// The searched field's texts of a table's set, cut as the search reads them and in the case it
// compares them in, kept in one buffer from search to search for as long as the table's content
// stamp stays the same: a keystroke then looks through memory instead of reading the column anew.
// Beside the texts, for every pair of bytes (hashed) the blocks of rows in which a text holds it: a
// key is looked for only in the blocks that hold all of its pairs, so that a miss costs little more
// than a look at a few bit sets however large the set is.
class TEasyFindTexts {
public:
    // Makes the kept texts those of the field in the table's set as it stands (browse state), read
    // anew when anything changed; false when the reading was stopped (`stop` returned true).
    bool Load(const TTable& table, const TField& field, bool fold, const std::function<bool()>& stop);
    // The first row from `from` on whose kept text contains `key` (UTF-8, in the kept case), or -1.
    int Find(QByteArrayView key, int from) const;
    void Clear();

private:
    static constexpr int BlockRows = 64;
    static constexpr int PairBits = 12;
    static constexpr int PairWords = (1 << PairBits) / 64;

    void Append(QByteArrayView text, bool memo);
    void IndexPairs();
    // The first row from `first` to before `last` whose text contains the key, or -1.
    int FindIn(QByteArrayView key, int first, int last) const;
    static quint32 Pair(char first, char second);

    const TTable* m_table = nullptr;
    int m_field = -1;
    bool m_fold = false;
    TTable::TContentStamp m_stamp;
    QByteArray m_texts;
    std::vector<qsizetype> m_starts; // row r's text: from m_starts[r] to m_starts[r + 1]
    int m_blocks = 0;
    std::vector<quint64> m_blockPairs; // block b's pairs: PairWords words from b * PairWords on
};
