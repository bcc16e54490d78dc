#pragma once

#include "ImportRow.h"
#include "ImportSetup.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TFormLocalizer;
class TImportSession;

// The mapping dialog: shows how the file reads (encoding, separator, conventions, headings) and lets the
// user change it, previews the first rows with the field each column fills, takes the category from a
// column or fixes it to a page, and lists every problem by line before anything is written.
class TImportDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PreviewRows = 20;
    static constexpr int ListedProblems = 500;

    TImportDialog(TImportSession& session, const TImportSetup& setup, const QString& fileName,
                  QWidget* parent = nullptr);
    ~TImportDialog() override;

    // The rows as last checked, by the mapping the user accepted.
    const std::vector<TImportRow>& Rows() const { return m_rows; }

    QComboBox* EncodingBox = nullptr;
    QComboBox* SeparatorBox = nullptr;
    QComboBox* DecimalBox = nullptr;
    QComboBox* DateBox = nullptr;
    QCheckBox* HeadingsCheck = nullptr;
    QRadioButton* CategoryColumnRadio = nullptr;
    QRadioButton* CategoryFixedRadio = nullptr;
    QComboBox* CategoryBox = nullptr;
    QTableWidget* PreviewGrid = nullptr;
    QPlainTextEdit* ProblemList = nullptr;
    QLabel* SummaryLabel = nullptr;
    QCheckBox* DuplicatesCheck = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* CancelButton = nullptr;
    TFormLocalizer* FormLocalizer1 = nullptr;

private:
    void CreateReading(const QString& fileName);
    void CreateCategory();
    void CreatePreview();
    void CreateOutcome();
    void CreateButtons();
    void CreateLocalizer();
    void ShowReading();
    void Connect();
    // Reads the choices back into the session after one changed.
    void ReadingChanged();
    void ConventionsChanged();
    void CategoryChanged();
    // Fills the preview and the column choices from the session.
    void FillPreview();
    // Checks every row again and shows the problems and counts.
    void Check();
    QString FieldCaption(const QString& field) const;

    TImportSession& m_session;
    const TImportSetup& m_setup;
    std::vector<TImportRow> m_rows;
    std::vector<QComboBox*> m_columnBoxes;
    bool m_filling = false;
};
