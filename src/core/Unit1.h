#pragma once

#include "store/FormatSettings.h"
#include "toolkit/DBNavigator.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

namespace Ui {
class TForm1;
}
class TTable;
class TDataSource;
class TField;
class TLanguageSource;
class TFormLocalizer;
class QLabel;

// The main window: category pages, the item editor, the front page and the menu. It owns the three
// tables and the language source that every other window works with.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const TFormatSettings& settings, QWidget* parent = nullptr);
    ~TForm1() override;

    TTable* HabitraTable = nullptr;
    TDataSource* HabitraSource = nullptr;
    TTable* RegTable = nullptr;
    TDataSource* RegSource = nullptr;
    TTable* ConfigTable = nullptr;
    TDataSource* ConfigSource = nullptr;
    TLanguageSource* LanguageSource1 = nullptr;
    TFormLocalizer* FormLocalizer1 = nullptr;

    const TFormatSettings& FormatSettings() const { return m_settings; }
    Ui::TForm1& Controls() const { return *ui; }
    QWidget* Page(const QString& name) const;
    TDBNavigator* Navigator(int number) const { return m_navigators.at(size_t(number - 1)); }
    int ActiveLanguage() const;

    // Operations
    void Faneblade();
    void Billede();
    // Selects a category page and sets the four field labels without filtering (the overview's jump).
    void ShowCategory(const QString& page, const QStringList& labels);

    // Handlers
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    void PageControl1Change();
    void DBNavigator1Click(TNavigateBtn button);
    void HabitraTableAfterInsert();
    void SpeedButton3Click();
    void Forside1Click();
    void Oversigt1Click();
    void Dataeksport1Click();
    void Dataplacering1Click();
    void Afslut1Click();
    void Help1Click();
    void Info1Click();
    void Skrmstrrelser1Click();
    void LanguageClick(int language);

signals:
    // Menu commands whose windows live in other parts of the program.
    void overviewRequested();
    void exportRequested();
    void aboutRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateTables();
    void CreateLanguageSource();
    void CreatePages();
    void BindEditor();
    void DecorateFrontPage();
    void ConnectMenu();
    void ConnectButtons();
    void SetLanguageMarks(int language);
    QString ProgramFolder() const;

    std::unique_ptr<Ui::TForm1> ui;
    TFormatSettings m_settings;
    std::array<TDBNavigator*, 21> m_navigators{};
    bool m_shown = false;
    bool m_arranging = false;
};
