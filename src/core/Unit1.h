#pragma once

#include "pictures/PictureFolder.h"
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
class TTextCatalogue;
class TProgramSettings;
class TFormResizer;
class TJustOne;
class TAboutBox;
class QLabel;
class QFileDialog;
class TBilledForm;
class TForm2;

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
    TTextCatalogue* TextCatalogue1 = nullptr; // the texts code composes, in the active language
    TFormResizer* FormResizer1 = nullptr;
    TJustOne* JustOne1 = nullptr;
    TAboutBox* AboutBox1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    TBilledForm* BilledForm = nullptr; // the full-size picture window, made by the start sequence
    TForm2* Form2 = nullptr;           // the overview window, made by the start sequence
    TFormResizer* Form2Resizer = nullptr;

    // Connects the overview window made after this one: its jump, its resizer, the export it hosts.
    void AttachOverview(TForm2& overview);

    const TFormatSettings& FormatSettings() const { return m_settings; }
    // The program's own settings beyond the settings record; opened with the tables.
    TProgramSettings& ProgramSettings() const { return *m_programSettings; }
    // The folder of Billeder/, with a trailing separator: the program folder, or the user's data folder
    // of an installed package. The help lives there too when there is no share folder.
    const QString& ProgramFolder() const { return m_programFolder; }
    void SetProgramFolder(const QString& folder);
    // The folder of the language files and Help/ when they are installed apart from the program
    // folder; without one they are read as a program folder has them. Set before the window shows.
    void SetShareFolder(const QString& folder);
    QString HelpFile() const;
    // The folder that holds Data/ with the tables, with a trailing separator.
    const QString& DataHome() const { return m_dataHome; }
    Ui::TForm1& Controls() const { return *ui; }
    QWidget* Page(const QString& name) const;
    TDBNavigator* Navigator(int number) const { return m_navigators.at(size_t(number - 1)); }
    int ActiveLanguage() const;

    // Operations
    void Faneblade();
    void Billede();
    // The current item's picture file: the picture folder, the picture number, ".jpg".
    QString PictureFile() const;
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
    void SpeedButton4Click();
    void SpeedButton1Click();
    void Image3DblClick();
    void Forside1Click();
    void Oversigt1Click();
    void Dataeksport1Click();
    void Dataplacering1Click();
    void Afslut1Click();
    void Help1Click();
    void Info1Click();
    void Skrmstrrelser1Click();
    void LanguageClick(int language);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateTables();
    void CreateLanguageSource();
    void CreateSupport();
    void CreatePages();
    void BindEditor();
    void DecorateFrontPage();
    void ConnectMenu();
    void ConnectButtons();
    void SetLanguageMarks(int language);

    std::unique_ptr<Ui::TForm1> ui;
    TFormatSettings m_settings;
    std::unique_ptr<TProgramSettings> m_programSettings;
    QString m_programFolder;
    QString m_shareFolder;
    QString m_dataHome;
    TPictureFolder m_pictures;
    QString m_shownPicture; // file and stamp of what Image3 shows, so unchanged pictures are not decoded again
    std::array<TDBNavigator*, 21> m_navigators{};
    bool m_shown = false;
    bool m_arranging = false;
};
