#pragma once

#include "store/Field.h"

#include <QString>
#include <vector>

// The table files of a data folder, as a backup sees them: whole SQLite files, copied through the
// engine so that a copy taken while the program writes is still a consistent file.
namespace TableFiles {
// Whether the file starts as an SQLite database does.
bool IsTableFile(const QString& path);
// The engine's journal beside a table file: never part of a backup, the copy is whole without it.
bool IsJournal(const QString& fileName);

// Copies the table file `source` into a new file `target` with the engine's online backup, waiting
// while another connection writes. Raises EBackupError naming the file.
void Copy(const QString& source, const QString& target);

// What the engine's integrity check finds wrong with the file; empty when the file is sound.
QString IntegrityProblem(const QString& path);
// The first of `fields` that the file's table `table` lacks; empty when it has them all.
QString MissingField(const QString& path, const QString& table, const std::vector<TFieldDef>& fields);
// The number of records of the file's table `table`; raises EBackupError when it cannot be read.
qint64 RowCount(const QString& path, const QString& table);
// Whether the file's table `table` holds a record, found without counting them all; raises
// EBackupError when it cannot be read.
bool HasRows(const QString& path, const QString& table);
} // namespace TableFiles
