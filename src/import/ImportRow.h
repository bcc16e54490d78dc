#pragma once

#include <QStringList>
#include <QVariant>
#include <vector>

// A row is imported when valid; a duplicate of a stored item only when the user asks for it; a
// refused row never, and its problems say why.
enum TImportRowStatus { irValid, irDuplicate, irRefused };

// One line of the file read into item values, in the order of the item table's fields.
struct TImportRow {
    int Line = 0;
    TImportRowStatus Status = irValid;
    std::vector<QVariant> Values;
    QStringList Problems;
};
