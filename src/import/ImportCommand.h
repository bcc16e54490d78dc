#pragma once

#include "ImportSetup.h"

#include <QString>

class QWidget;

// The main menu's "Data import": asks for a file (unless one is given), reads it, lets the user map and
// check it in the mapping dialog, writes the rows in one transaction under a progress dialog that can
// cancel, and says how many items were imported, skipped and refused. Errors end in the general error
// display. Returns the record key of the first imported item, 0 when nothing was imported.
qint64 RunImportCommand(const TImportSetup& setup, QWidget* parent = nullptr, const QString& fileName = {});

namespace ImportCommand {
QString ResultText(int imported, int skipped, int refused);
} // namespace ImportCommand
