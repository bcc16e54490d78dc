#pragma once

#include "InsuranceItem.h"
#include "pictures/PictureFolder.h"
#include "store/FormatSettings.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TCustomLanguageSource;
class TFormLocalizer;
class TInsuranceReport;
class TProgramSettings;
class TTable;

// What the insurance report's dialog offers: the register, the main window's current category and
// the items selected in the overview's grid, read when the command was given.
struct TInsuranceScope {
    TTable* Table = nullptr;
    QString Category; // the category value of the main window's page; empty when there is none
    std::vector<TInsuranceItem> Selected;
};

enum TInsuranceScopeKind { iskAll, iskCategory, iskSelected };

// "Forsikringsrapport": asks for the owner's details (kept in the program's settings for next time)
// and the scope, then previews the report or saves it as PDF, with progress and Cancel.
class TInsuranceDialog : public QDialog {
    Q_OBJECT
public:
    TInsuranceDialog(TInsuranceScope scope, TProgramSettings& settings, const TFormatSettings& format,
                     const TPictureFolder& pictures, TCustomLanguageSource* languageSource,
                     QWidget* parent = nullptr);
    ~TInsuranceDialog() override;

    TInsuranceScopeKind ScopeKind() const;
    void SetScopeKind(TInsuranceScopeKind kind);
    // The items of the chosen scope, read now.
    std::vector<TInsuranceItem> ScopeItems() const;

    // Asks where to save the PDF; empty when the user cancels. Tests replace it.
    std::function<QString()> AskPdfPath;

    // Handlers
    void Button1Click(); // preview
    void Button2Click(); // save as PDF

    QLineEdit* Edit1 = nullptr;           // name
    QPlainTextEdit* Memo1 = nullptr;      // address
    QLineEdit* Edit3 = nullptr;           // insurer
    QLineEdit* Edit4 = nullptr;           // policy
    QRadioButton* RadioButton1 = nullptr; // all
    QRadioButton* RadioButton2 = nullptr; // current category
    QRadioButton* RadioButton3 = nullptr; // selected
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    TFormLocalizer* FormLocalizer1 = nullptr;

private:
    void CreateControls();
    void CreateComponents(TCustomLanguageSource* languageSource);
    void ShowCounts();
    QString ScopeText() const;
    // Keeps the owner's details and makes the report of the scope; null (after saying so) when the
    // scope holds no item.
    std::unique_ptr<TInsuranceReport> MakeReport();
    QString DefaultPdfPath() const;
    void ReportUnreadable(const TInsuranceReport& report);

    TInsuranceScope m_scope;
    TProgramSettings& m_settings;
    TFormatSettings m_format;
    TPictureFolder m_pictures;
    QLabel* m_categoryCount = nullptr;
    QLabel* m_allCount = nullptr;
    QLabel* m_selectedCount = nullptr;
};
