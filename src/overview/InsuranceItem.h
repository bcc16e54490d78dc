#pragma once

#include "store/Money.h"

#include <QString>
#include <vector>

class TTable;

// One item as the insurance report prints it: every field's display text, the value exact.
struct TInsuranceItem {
    QString Beskrivelse;
    QString Fabrikat;
    QString Model;
    QString Identifikation;
    QString Kobssted;
    QString Kobsdato; // display text in the table's date format
    TMoney Vaerdi;
    bool HasValue = false; // an empty value counts as zero in the totals
    QString Notater;
    QString Foto; // the picture number as text; empty when the item has none
    QString Kategori;
};

// The items of the table's current set at the given rows (0-based), read without moving the cursor.
std::vector<TInsuranceItem> ReadInsuranceItems(const TTable& table, const std::vector<int>& rows);
// Every item of the current set, in its order.
std::vector<TInsuranceItem> ReadInsuranceItems(const TTable& table);
// Every item whose Kategori is `category` exactly, or every item of the table when it is empty, in
// the table's current order. The table's filter, filtering and current record are put back after,
// and its controls see no change in between.
std::vector<TInsuranceItem> ReadInsuranceScope(TTable& table, const QString& category);
// How many items ReadInsuranceScope would read, without reading them.
int CountInsuranceScope(TTable& table, const QString& category);

// Items and value per category, sorted by category name, and the grand total.
struct TInsuranceTotals {
    struct TCategory {
        QString Kategori;
        int Count = 0;
        TMoney Sum;
    };
    std::vector<TCategory> Categories;
    int Count = 0;
    TMoney Total;
};
TInsuranceTotals InsuranceTotals(const std::vector<TInsuranceItem>& items);
