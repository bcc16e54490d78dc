#include "ImportCommand.h"

#include "ImportDialog.h"
#include "ImportError.h"
#include "ImportSession.h"
#include "ImportWriter.h"

#include "localisation/TextCatalogue.h"
#include "store/ItemFields.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/ProgressSetUp.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QProgressDialog>

namespace {
QString AskFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ImportFileDialog"));
    dialog.setWindowTitle(LocalText("Import.ChooseFile", "Vælg filen der skal importeres"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({LocalText("Import.TextFiles", "Tekstfiler (*.txt *.csv *.tsv *.tab)"),
                           LocalText("Import.AllFiles", "Alle filer (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

TImportSession MakeSession(const TImportSetup& setup, const QString& fileName) {
    std::vector<TFieldDef> importable;
    for (const TFieldDef& field : Schema::ItemFields()) {
        if (field.Name != ItemField::Foto) {
            importable.push_back(field);
        }
    }
    THeaderMatcher matcher(importable, setup.Captions);
    // The fields as the open table has them, so that the checks hold what the table holds.
    std::vector<TFieldDef> fields;
    for (int f = 0; f < setup.Items->FieldCount(); ++f) {
        const TField* field = setup.Items->Fields(f);
        fields.push_back({field->FieldName(), field->DataType(), field->Size()});
    }
    TImportValidator validator(fields, setup.Categories, TStoredItemKeys::Read(setup.Items->FilePath()));
    validator.SetCaptions(setup.Labels);
    return TImportSession(TImportText::FromFile(fileName), std::move(matcher), std::move(validator),
                          TImportConventions::Regional(setup.Settings));
}

// Writes under a progress dialog; Cancel rolls everything back.
TImportResult WriteRows(const TImportSetup& setup, const std::vector<TImportRow>& rows, bool duplicates,
                        QWidget* parent) {
    QProgressDialog progress(parent);
    SetUpProgress(progress, QStringLiteral("ImportProgress"), LocalText("Import.Title", "Data import"),
                  LocalText("Import.Cancel", "Annuller"), 300);
    progress.setLabelText(LocalText("Import.Writing", "Genstandene skrives i registeret ..."));
    TImportWriter writer(*setup.Items, *setup.Counter);
    return writer.Write(rows, duplicates, [&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
}
} // namespace

QString ImportCommand::ResultText(int imported, int skipped, int refused) {
    return LocalText(
               "Import.Result",
               "%1 genstande er importeret.\n\r%2 fandtes allerede og blev sprunget over, %3 blev afvist.")
        .arg(imported)
        .arg(skipped)
        .arg(refused);
}

qint64 RunImportCommand(const TImportSetup& setup, QWidget* parent, const QString& fileName) {
    qint64 first = 0;
    ErrorDisplay::Guarded([&] {
        const QString file = fileName.isEmpty() ? AskFileName(parent) : fileName;
        if (file.isEmpty()) {
            return;
        }
        TImportSession session = MakeSession(setup, file);
        TImportDialog dialog(session, setup, file, parent);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const std::vector<TImportRow>& rows = dialog.Rows();
        const bool duplicates = session.Mapping().ImportDuplicates;
        int skipped = 0;
        int refused = 0;
        for (const TImportRow& row : rows) {
            if (!TImportWriter::IsWritten(row, duplicates)) {
                ++(row.Status == irDuplicate ? skipped : refused);
            }
        }
        TImportResult result;
        try {
            result = WriteRows(setup, rows, duplicates, parent);
        } catch (const EImportCancelled&) {
            Dialogs::MessageDlg(
                LocalText("Import.Cancelled", "Importen er afbrudt. Intet er skrevet i registeret."),
                QMessageBox::Information, {Dialogs::mbOK});
            return;
        }
        first = result.FirstKey;
        Dialogs::MessageDlg(ImportCommand::ResultText(result.Imported, skipped, refused),
                            QMessageBox::Information, {Dialogs::mbOK});
    });
    return first;
}
