#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class TTable;

// The 21 category values of the Danish catalogue.
const QStringList& DanishCategories();

// Fills the data folder with a register of `count` items spread over the 21 categories, with Danish
// descriptions, makes, models, serial numbers, shops, dates, values and some notes. The tables are
// made with Schema::CreateMissingTables where missing; items are added to those already there and
// their picture numbers are handed out by the counter table, as the program does. The same seed gives
// the same register.
void GenerateRegister(const QString& dataFolder, int count, quint32 seed);

// Points `table` at the item table of the data folder, with its fields and Danish regional settings,
// as the program opens it; not yet opened.
void SetUpItemTable(TTable& table, const QString& dataFolder);
