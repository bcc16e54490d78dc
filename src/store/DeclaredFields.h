#pragma once

#include "Field.h"
#include "Sqlite.h"

#include <QString>
#include <vector>

// The fields a table of a file declares, read from the file's schema. The fields the program relies
// on take the place of their declared namesakes, so that their types and sizes are the program's.
class TDeclaredFields {
public:
    // Raises EDatabaseError (damaged) when the file holds no such table or lacks an expected field;
    // `path` names the file in the message.
    static std::vector<TFieldDef> Read(TSqliteDatabase& db, const QString& sqlTable,
                                       const std::vector<TFieldDef>& expected, const QString& path);
    // The definition a column declared with this SQL type stands for.
    static TFieldDef FromDeclaredType(const QString& name, const QString& declared);
};
