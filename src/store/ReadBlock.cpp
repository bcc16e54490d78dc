#include "ReadBlock.h"

#include <algorithm>

void TReadBlock::Fill(TSqliteStatement& query, const std::vector<qint64>& keys, int columns) {
    Cells.reserve(keys.size() * size_t(columns));
    // Where each cell's text starts, until the bytes stop moving; a first byte gives empty text a place.
    std::vector<qsizetype> offsets;
    offsets.reserve(Cells.capacity());
    Text.push_back('\0');
    auto next = keys.begin();
    while (query.Step()) {
        const qint64 stepped = query.Int64(0);
        // Skip the rows in between that are not asked for.
        next = std::lower_bound(next, keys.end(), stepped);
        if (next == keys.end() || *next != stepped) {
            continue;
        }
        Keys.push_back(stepped);
        for (int c = 1; c <= columns; ++c) {
            TStoredCell cell = TStoredCell::Read(query, c);
            offsets.push_back(qsizetype(Text.size()));
            Text.insert(Text.end(), cell.Text.begin(), cell.Text.end());
            Cells.push_back(cell);
        }
    }
    for (size_t i = 0; i < Cells.size(); ++i) {
        TStoredCell& cell = Cells[i];
        if (!cell.Text.isNull()) {
            cell.Text = QByteArrayView(Text.data() + offsets[i], cell.Text.size());
        }
    }
}
