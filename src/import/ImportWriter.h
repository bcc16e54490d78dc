#pragma once

#include "ImportRow.h"

#include <functional>
#include <vector>

class TTable;
class TSqliteDatabase;

// What an import wrote.
struct TImportResult {
    int Imported = 0;
    qint64 FirstKey = 0; // the record key of the first item written, 0 when none was
};

// Writes the rows to import as new items in one transaction over the item table and the counter
// table: each item gets the next picture number, handed out by the counter as for an item the user
// inserts. A failure, a cancel or a killed process leaves both tables exactly as they were.
class TImportWriter {
public:
    // Called every few rows with the rows written so far; returning false cancels the import.
    using TProgress = std::function<bool(int done, int total)>;

    TImportWriter(TTable& items, TTable& counter);

    // Valid rows, and duplicates when `duplicates` is set; refused rows never. Raises EImportCancelled
    // when the progress callback cancels, and the store's errors as they come; then nothing is written.
    TImportResult Write(const std::vector<TImportRow>& rows, bool duplicates, const TProgress& progress = {});

    static bool IsWritten(const TImportRow& row, bool duplicates) {
        return row.Status == irValid || (duplicates && row.Status == irDuplicate);
    }

private:
    TImportResult WriteInto(TSqliteDatabase& db, const std::vector<TImportRow>& rows, bool duplicates,
                            const TProgress& progress);

    TTable& m_items;
    TTable& m_counter;
};
