#pragma once

#include <QString>

class QWidget;
class TDataExportASCII;

// The main menu's "Data eksport": asks for a file name, writes the export, confirms. Errors end in the
// general error display. Returns true when the file was written.
bool RunExportCommand(TDataExportASCII& exporter, QWidget* parent = nullptr);

namespace ExportCommand {
inline const QString DefaultFileName = QStringLiteral("Habitra.txt");
// The confirmation after a successful export.
QString ConfirmationText(const QString& fileName);
} // namespace ExportCommand
