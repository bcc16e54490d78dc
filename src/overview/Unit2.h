#pragma once

#include "InsuranceItem.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class TForm2;
}
class QEventLoop;
class TCustomLanguageSource;
class TColumnSizer;
class TEasyFind;
class TFormLocalizer;
class TFormResizer;
class TProgramSettings;
class TRegister;
class TTable;

// The overview: every item of the register's item table in one grid, sorted by category or description,
// narrowed to one category, searched as the user types; a double-click goes back to the main window
// on the item's category page. Created once, shown modally, hidden on close.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2(TRegister& reg, TCustomLanguageSource* languageSource, QWidget* parent = nullptr);
    ~TForm2() override;

    TTable& HabitraTable() const { return m_habitraTable; }

    TEasyFind* EasyFind1 = nullptr;
    TFormLocalizer* FormLocalizer1 = nullptr;
    TFormResizer* FormResizer1 = nullptr; // keeps the controls in proportion to the window

    // Shows the window modally; returns when it has been closed.
    int ShowModal();

    TColumnSizer* ColumnSizer() const { return m_columns; }

    // The double-click jump: the main window selects the page and sets the labels of the fields
    // Beskrivelse, Fabrikat, Model and Identifikation, without its page change.
    std::function<void(const QString& page, const QStringList& labels)> OnJump;
    // "Print": the inventory list.
    // Replaces the inventory list printout (tests); unset, Print prints the list.
    std::function<void()> OnPrint;

    // "Forsikringsrapport": the insurance report's dialog, which the main window opens.
    std::function<void()> OnInsuranceReport;
    // Rows (0-based, ascending) of the items selected in the grid: Ctrl- and Shift-click and Ctrl+A
    // select several; a plain click selects the item it makes current.
    std::vector<int> SelectedRows() const;
    // Those items, read now from the item table.
    std::vector<TInsuranceItem> SelectedItems() const;

    // The page and labels a category value jumps to; false for a value that names no category.
    bool JumpTarget(const QString& value, QString& page, QStringList& labels) const;

    // Handlers
    void FormShow();
    void FormActivate();
    void FormClose();
    void RadioButton1Click();
    void RadioButton2Click();
    void ComboBox1Change();
    void Edit1Change();
    void SpeedButton3Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void DBGrid1DblClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateComponents(TCustomLanguageSource* languageSource);
    void DecorateControls();
    void ConnectControls();
    void CreateResizer();
    void RestoreColumns();
    void SaveColumns();
    // Where the grid's column widths that the user chose are kept between runs; none while the
    // program's settings are not open.
    TProgramSettings* Settings() const;

    std::unique_ptr<Ui::TForm2> ui;
    TRegister& m_register;
    TTable& m_habitraTable;
    TTable& m_configTable;
    QEventLoop* m_modalLoop = nullptr;
    TColumnSizer* m_columns = nullptr;
};
