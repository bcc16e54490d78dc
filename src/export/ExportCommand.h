#pragma once

#include <QString>

class QWidget;
class TDataExportASCII;

// The main menu's "Data eksport": asks for a file name, writes the export under a progress dialog with
// Cancel (shown when it takes a while), confirms. Errors end in the
// general error display. Returns true when the file was written.
// `progressDelayMs`: how long the export runs before its progress dialog shows.
bool RunExportCommand(TDataExportASCII& exporter, QWidget* parent = nullptr, int progressDelayMs = 500);

namespace ExportCommand {
inline const QString DefaultFileName = QStringLiteral("Habitra.txt");
// The confirmation after a successful export.
QString ConfirmationText(const QString& fileName);
// The message after the user cancelled the export.
QString CancelledText();
} // namespace ExportCommand
