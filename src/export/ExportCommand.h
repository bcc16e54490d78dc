#pragma once

#include <QString>

class QWidget;
class TDataExportASCII;

// The main menu's "Data eksport": asks for a file name, writes the export under a progress dialog with
// Cancel (shown when it takes a while), confirms. Errors end in the
// general error display. Returns true when the file was written.
bool RunExportCommand(TDataExportASCII& exporter, QWidget* parent = nullptr);

namespace ExportCommand {
inline const QString DefaultFileName = QStringLiteral("Habitra.txt");
// The confirmation after a successful export.
QString ConfirmationText(const QString& fileName);
// The message after the user cancelled the export.
QString CancelledText();
// How long an export runs before its progress dialog shows.
constexpr int ProgressDelayMs = 500;
} // namespace ExportCommand
