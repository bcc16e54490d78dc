#pragma once

#include "Field.h"

#include <QString>
#include <vector>

// The three tables of the data folder: their files, fields, indexes and first contents.
namespace Schema {
// The program folder's folders: the table files, and the item pictures.
inline const QString DataFolder = QStringLiteral("Data");
inline const QString PictureFolder = QStringLiteral("Billeder");

inline const QString ItemFile = QStringLiteral("Habitra.db");
inline const QString CounterFile = QStringLiteral("Regnr.DB");
inline const QString SettingsFile = QStringLiteral("Config.DB");
inline const QString IndexKategori = QStringLiteral("IndexKategori");
inline const QString IndexBeskrivelse = QStringLiteral("IndexBeskrivelse");

std::vector<TFieldDef> ItemFields();
std::vector<TFieldDef> CounterFields();
std::vector<TFieldDef> SettingsFields();

// Creates each table file of the folder that does not exist yet; never touches one that does.
// Returns the names of the files it created.
QStringList CreateMissingTables(const QString& dataFolder);
} // namespace Schema
