#pragma once

#include "store/FormatSettings.h"
#include "toolkit/DBNavigator.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
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
class TQtTranslations;
class TFieldNames;
class TProgramSettings;
class TRegister;
class TFormResizer;
class TJustOne;
class TAboutBox;
class QLabel;
class QFileDialog;
class TBilledForm;
class TForm2;
class TBackupActions;
class TPictureArea;

// The main window: category pages, the item editor, the front page and the menu, over the register
// it is given. It owns the language source that every other window works with.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(TRegister& reg, const TFormatSettings& settings, QWidget* parent = nullptr);
    ~TForm1() override;

    TLanguageSource* LanguageSource1 = nullptr;
    TFormLocalizer* FormLocalizer1 = nullptr;
    TTextCatalogue* TextCatalogue1 = nullptr;   // the texts code composes, in the active language
    TQtTranslations* QtTranslations1 = nullptr; // Qt's own dialogs in the active language
    TFieldNames* FieldNames1 = nullptr;         // the edit fields' accessible names, by their captions
    TFormResizer* FormResizer1 = nullptr;
    TJustOne* JustOne1 = nullptr;
    TAboutBox* AboutBox1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    TBilledForm* BilledForm = nullptr;        // the full-size picture window, made by the start sequence
    TForm2* Form2 = nullptr;                  // the overview window, made by the start sequence
    TBackupActions* BackupActions1 = nullptr; // backup, restore and the reminder on the front page

    // Connects the overview window made after this one: its jump and its insurance report.
    void AttachOverview(TForm2& overview);

    const TFormatSettings& FormatSettings() const { return m_settings; }
    // The tables, the program's own settings and what is done to them.
    TRegister& Register() const { return m_register; }
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
    // The picture area's decoder: tests wait on it for the picture to be shown.
    TPictureArea& PictureArea() const { return *m_pictureArea; }
    QWidget* Page(const QString& name) const;
    TDBNavigator* Navigator(int number) const { return m_navigators.at(size_t(number - 1)); }
    int ActiveLanguage() const;
    // The caption the user sees for a field of the item table: the editor's label, which follows the
    // category page and the language. Empty for a field the editor does not label.
    QString FieldCaption(const QString& fieldName) const;
    // The help guide's section of the active language, as a fragment of its address.
    static QString HelpSection(int language);
    // The size a blank stored size opens at: the smallest that still shows the whole menu bar.
    QSize SmallestSize() const;

    // Operations
    void Faneblade();
    void Billede();
    // Selects a category page and sets the four field labels without filtering (the overview's jump).
    void ShowCategory(const QString& page, const QStringList& labels);
    // The tables and the program's settings, in the order the window opens them; a restore closes
    // them while it puts another register in place. An edit in progress is dropped.
    void OpenTables();
    void CloseTables();
    // Shows an item on its category's page, filtered to its stored category value (the import's result).
    void ShowItem(qint64 key);

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
    void Forsikringsrapport1Click();
    void Sikkerhedskopi1Click();
    void GendanSikkerhedskopi1Click();
    void Dataimport1Click();
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
    void HookTables();
    void CreateLanguageSource();
    void CreateSupport();
    void CreatePages();
    void BindEditor();
    void NameFields();
    void DecorateFrontPage();
    void ConnectMenu();
    void ConnectButtons();
    void CreatePictureArea();
    void SetLanguageMarks(int language);
    void BrowseOnlyIfReadOnly();
    // Shows a message once the window is on screen, after those announced before it, one at a time.
    void Announce(const QString& text, QMessageBox::Icon icon);
    void StayOnPageUnlessPosted();
    void FollowFrontPage();
    // The category value of the page the editor shows, in the active language; empty for none.
    QString PageCategory() const;

    TRegister& m_register;
    std::unique_ptr<Ui::TForm1> ui;
    TFormatSettings m_settings;
    QString m_programFolder;
    QString m_shareFolder;
    QString m_dataHome;
    TPictureArea* m_pictureArea = nullptr;
    std::array<TDBNavigator*, 21> m_navigators{};
    QPointer<QWidget> m_page; // the page whose category the editor shows
    bool m_shown = false;
    QList<std::pair<QString, QMessageBox::Icon>> m_announcements;
    bool m_arranging = false;
};
