#include "Unit1.h"

#include "BackupActions.h"
#include "ErrorTexts.h"
#include "FieldNames.h"
#include "Messages.h"
#include "catalogue/Catalogue.h"
#include "ui_Unit1.h"

#include "ImportSetupBuilder.h"
#include "import/ImportCommand.h"
#include "localisation/FormLocal.h"
#include "localisation/LocalSource.h"
#include "localisation/QtTranslations.h"
#include "localisation/TextCatalogue.h"
#include "overview/InsuranceDialog.h"
#include "overview/Unit2.h"
#include "overview/Unit3.h"
#include "pictures/BilledUnit.h"
#include "pictures/JpegLoader.h"
#include "pictures/PictureArea.h"
#include "pictures/PictureFetch.h"
#include "register/Register.h"
#include "store/DataSource.h"
#include "store/FilterParser.h"
#include "store/ItemFields.h"
#include "store/ProgramSettings.h"
#include "store/Table.h"
#include "support/AboutBox.h"
#include "support/Easysize.h"
#include "support/JustOne.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/Platform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>

using ErrorDisplay::Guarded;

namespace {
// The language files by plain name, reached through the working directory, or in `folder`.
QStringList LanguageFiles(const QString& folder) {
    QStringList languages;
    for (const char* name : {"English", "Norsk", "Svensk", "Deutsch"}) {
        const QString language = QLatin1String(name);
        languages << language + QLatin1Char('=') + folder + language + QStringLiteral(".lng");
    }
    return languages;
}
} // namespace

// The front page's pictures are compiled into this library; a static library must register them
// (outside any namespace, where the resource compiler's function lives).
static void InitialisePictures() {
    Q_INIT_RESOURCE(Pictures);
}

TForm1::TForm1(TRegister& reg, const TFormatSettings& settings, QWidget* parent)
    : QMainWindow(parent), m_register(reg), ui(std::make_unique<Ui::TForm1>()), m_settings(settings),
      m_programFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/')),
      m_dataHome(QDir::current().absolutePath() + QLatin1Char('/')) {
    InitialisePictures();
    ui->setupUi(this);
    CreateSupport();
    HookTables();
    CreatePages();
    BindEditor();
    DecorateFrontPage();
    ConnectMenu();
    ConnectButtons();
    CreatePictureArea();
    CreateLanguageSource();
    BackupActions1 = new TBackupActions(*this);
    ErrorDisplay::SetDescriber([this](const EHabitraError& error) {
        return ErrorTexts::Describe(
            error, [this](const QString& field) { return FieldCaption(field); }, m_settings);
    });
    NameFields();
    FormCreate();
}

TForm1::~TForm1() {
    m_pictureArea->OnError = nullptr;
    ErrorDisplay::SetDescriber(nullptr);
    m_register.HabitraSource().OnDataChange = nullptr;
    m_register.HabitraTable().AfterInsert = nullptr;
}

void TForm1::CreateSupport() {
    JustOne1 = new TJustOne(this);
    JustOne1->setObjectName(QStringLiteral("JustOne1"));
    FormResizer1 = new TFormResizer(this);
    FormResizer1->setObjectName(QStringLiteral("FormResizer1"));
    FormResizer1->SetResizeFonts(true);
    FormResizer1->SetMinFontSize(8);
    FormResizer1->SetMaxFontSize(48);
    AboutBox1 = new TAboutBox(this);
    AboutBox1->setObjectName(QStringLiteral("AboutBox1"));
    AboutBox1->SetAppName(QStringLiteral("Habitra"));
    AboutBox1->SetUrl(QStringLiteral("https://habitra.dk"));
    AboutBox1->SetPicture(TAboutBox::DefaultPicture());
    // These fill their parent; the resizer leaves them to the window.
    for (QWidget* filling : std::initializer_list<QWidget*>{ui->PageControl1, ui->Panel4, ui->Image1}) {
        filling->setProperty("align", QStringLiteral("client"));
    }
}

void TForm1::HookTables() {
    m_register.HabitraTable().AfterInsert = [this](TTable&) { HabitraTableAfterInsert(); };
    m_register.HabitraSource().OnDataChange = [this](TDataSource&, TField*) {
        Guarded([this] { Billede(); });
    };
}

void TForm1::CreateLanguageSource() {
    LanguageSource1 = new TLanguageSource(this);
    LanguageSource1->setObjectName(QStringLiteral("LanguageSource1"));
    LanguageSource1->BeginLoading();
    LanguageSource1->SetOriginalName(QStringLiteral("Dansk"));
    LanguageSource1->SetDefaultFileExt(QStringLiteral("lng"));
    LanguageSource1->SetLanguages(LanguageFiles(m_shareFolder));
    LanguageSource1->Loaded();

    // Before the window's localizer, so that key names in the hints it sets are of the new language.
    QtTranslations1 = new TQtTranslations(this);
    QtTranslations1->SetSource(LanguageSource1);
    QtTranslations1->Localize(); // the source starts in Danish, which is no change to be told of
    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint"),
                                  QStringLiteral("Warning"), QStringLiteral("Text"),
                                  QStringLiteral("Hints")});
    FormLocalizer1->SetSource(LanguageSource1);
    TextCatalogue1 = new TTextCatalogue(this);
    TextCatalogue1->SetSource(LanguageSource1);
}

void TForm1::NameFields() {
    // Joins the language source after the window's localizer, so it reads the captions it gave.
    FieldNames1 = new TFieldNames(this);
    FieldNames1->setObjectName(QStringLiteral("FieldNames1"));
    const auto by = [](const QLabel* label) { return [label] { return label->text(); }; };
    FieldNames1->Add(ui->DBEdit1, by(ui->Label9));
    FieldNames1->Add(ui->DBEdit2, by(ui->Label10));
    FieldNames1->Add(ui->DBEdit3, by(ui->Label11));
    FieldNames1->Add(ui->DBEdit4, by(ui->Label12));
    FieldNames1->Add(ui->DBEdit6, by(ui->Label13));
    FieldNames1->Add(ui->DBEdit5, by(ui->Label14));
    FieldNames1->Add(ui->DBEdit7, [this] {
        // Each page has a value label of its own beside the value edit.
        const QWidget* page = ui->PageControl1->currentWidget();
        const QLabel* label =
            page ? page->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        return label ? label->text() : QString();
    });
    FieldNames1->Add(ui->DBMemo1, by(ui->Label15));
    FieldNames1->SetSource(LanguageSource1);
    FieldNames1->Refresh();
}

void TForm1::CreatePages() {
    // On the tab bar alone: a style sheet on the page control would restyle all 21 pages' widgets.
    ui->PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab:hover { background: #dbe7fb; }"));
    ui->PageControl1->tabBar()->setExpanding(false);
    int number = 0;
    for (const Catalogue::TCategory& category : Catalogue::Categories()) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(category.Page));
        auto* value = new QLabel(QStringLiteral("Værdi"), page);
        value->setObjectName(QStringLiteral("Label%1").arg(100 + number));
        value->move(337, 242);
        auto* navigator = new TDBNavigator(page);
        navigator->setObjectName(QStringLiteral("DBNavigator%1").arg(number + 1));
        navigator->setGeometry(146, 430, 837, 26);
        navigator->SetVisibleButtons(
            {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel});
        navigator->SetDataSource(&m_register.HabitraSource());
        navigator->OnClick = [this](TDBNavigator&, TNavigateBtn button) { DBNavigator1Click(button); };
        m_navigators[size_t(number)] = navigator;
        ui->PageControl1->addTab(page, QString::fromUtf8(category.Values[0]));
        ++number;
    }
    ui->PageControl1->setCurrentIndex(0);
    m_page = ui->PageControl1->currentWidget();
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            [this] { Guarded([this] { PageControl1Change(); }); });
}

void TForm1::BindEditor() {
    TDataSource* items = &m_register.HabitraSource();
    const std::array<std::pair<TDBEdit*, const QString*>, 6> edits{{
        {ui->DBEdit1, &ItemField::Beskrivelse},
        {ui->DBEdit2, &ItemField::Fabrikat},
        {ui->DBEdit3, &ItemField::Model},
        {ui->DBEdit4, &ItemField::Identifikation},
        {ui->DBEdit6, &ItemField::Kobssted},
        {ui->DBEdit7, &ItemField::Vaerdi},
    }};
    for (const auto& [edit, field] : edits) {
        edit->SetDataSource(items);
        edit->SetDataField(*field);
    }
    ui->DBEdit5->SetDataSource(items);
    ui->DBEdit5->SetDataField(ItemField::Kobsdato);
    ui->DBMemo1->SetDataSource(items);
    ui->DBMemo1->SetDataField(ItemField::Notater);
    ui->DBText1->SetDataSource(items);
    ui->DBText1->SetDataField(ItemField::Foto);

    // Screen readers announce each field by the caption beside it, which follows the category.
    ui->Label9->setBuddy(ui->DBEdit1);
    ui->Label10->setBuddy(ui->DBEdit2);
    ui->Label11->setBuddy(ui->DBEdit3);
    ui->Label12->setBuddy(ui->DBEdit4);
    ui->Label13->setBuddy(ui->DBEdit6);
    ui->Label14->setBuddy(ui->DBEdit5);
    ui->Label15->setBuddy(ui->DBMemo1);

    QFont bold = ui->Sproget->font();
    bold.setBold(true);
    ui->Sproget->setFont(bold);
    ui->Sproget->setStyleSheet(QStringLiteral("color: gray;"));
    ui->DBText1->setStyleSheet(QStringLiteral("color: navy;"));
    for (QWidget* white :
         std::initializer_list<QWidget*>{ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4, ui->DBEdit5,
                                         ui->DBEdit6, ui->DBEdit7, ui->DBMemo1}) {
        QPalette palette = white->palette();
        palette.setColor(QPalette::Base, Qt::white);
        white->setPalette(palette);
    }
}

void TForm1::DecorateFrontPage() {
    ui->Panel4->raise();
    ui->Panel4->installEventFilter(this);
    FollowFrontPage();
    const auto picture = [](const QString& name) {
        QFile file(QStringLiteral(":/core/") + name);
        return file.open(QIODevice::ReadOnly) ? QPixmap::fromImage(LoadJpeg(file.readAll(), name))
                                              : QPixmap();
    };
    ui->Image1->setPixmap(picture(QStringLiteral("Baggrund.jpg")));
    ui->Image2->setPixmap(picture(QStringLiteral("Forside.jpg")));
    ui->Image2->setScaledContents(true);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(48);
    title.setBold(true);
    ui->ShadowLabel1->setFont(title);
    ui->ShadowLabel1->setAlignment(Qt::AlignCenter);
    ui->ShadowLabel1->setStyleSheet(QStringLiteral("color: navy;"));
    ui->ShadowLabel1->SetShadowColor(Qt::gray);
    ui->ShadowLabel1->SetShadowOffset(2);
}

void TForm1::ConnectMenu() {
    const auto on = [this](QAction* action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ui->Forside1, &TForm1::Forside1Click);
    on(ui->Oversigt1, &TForm1::Oversigt1Click);
    on(ui->Dataeksport1, &TForm1::Dataeksport1Click);
    on(ui->Dataimport1, &TForm1::Dataimport1Click);
    on(ui->Forsikringsrapport1, &TForm1::Forsikringsrapport1Click);
    on(ui->Sikkerhedskopi1, &TForm1::Sikkerhedskopi1Click);
    on(ui->GendanSikkerhedskopi1, &TForm1::GendanSikkerhedskopi1Click);
    on(ui->Dataplacering1, &TForm1::Dataplacering1Click);
    on(ui->Afslut1, &TForm1::Afslut1Click);
    on(ui->Afslut2, &TForm1::Afslut1Click);
    on(ui->Help1, &TForm1::Help1Click);
    on(ui->Info1, &TForm1::Info1Click);
    on(ui->Skrmstrrelser1, &TForm1::Skrmstrrelser1Click);
    const std::array<QAction*, 5> languages{ui->Dansk, ui->English, ui->Norsk, ui->Svensk, ui->Deutsch};
    for (int i = 0; i < 5; ++i) {
        connect(languages[size_t(i)], &QAction::triggered, this,
                [this, i] { Guarded([this, i] { LanguageClick(i - 1); }); });
    }
}

void TForm1::ConnectButtons() {
    const auto on = [this](QAbstractButton* button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ui->SpeedButton3, &TForm1::SpeedButton3Click);
    on(ui->SpeedButton4, &TForm1::SpeedButton4Click);
    on(ui->SpeedButton1, &TForm1::SpeedButton1Click);
    connect(ui->Image3, &TPictureLabel::doubleClicked, this,
            [this] { Guarded([this] { Image3DblClick(); }); });
    on(ui->SpeedButton5, &TForm1::Afslut1Click);
    on(ui->SpeedButton2, &TForm1::Afslut1Click);
    for (QAbstractButton* button :
         {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4, ui->SpeedButton5}) {
        button->setCursor(Qt::PointingHandCursor);
    }
}

void TForm1::CreatePictureArea() {
    m_pictureArea = new TPictureArea(ui->ScrollBox1, ui->Image3, this);
    m_pictureArea->OnError = [](const QString& message) {
        Guarded([&message] { throw EPictureError(message); });
    };
    m_pictureArea->OnFitToFrameChanged = [this](bool fit) {
        Guarded([this, fit] {
            // Settings that cannot be written keep the choice for this session.
            if (!m_register.ProgramSettings().IsReadOnly()) {
                m_register.ProgramSettings().SetValue(QStringLiteral("Pictures.FitToFrame"),
                                                      fit ? QStringLiteral("1") : QStringLiteral("0"));
            }
        });
    };
}

QWidget* TForm1::Page(const QString& name) const {
    for (int i = 0; i < ui->PageControl1->count(); ++i) {
        if (ui->PageControl1->widget(i)->objectName() == name) {
            return ui->PageControl1->widget(i);
        }
    }
    return nullptr;
}

int TForm1::ActiveLanguage() const {
    return LanguageSource1 ? LanguageSource1->ActiveLanguage() : -1;
}

QString TForm1::FieldCaption(const QString& fieldName) const {
    const std::array<std::pair<const QString*, QLabel*>, 8> labels{{
        {&ItemField::Beskrivelse, ui->Label9},
        {&ItemField::Fabrikat, ui->Label10},
        {&ItemField::Model, ui->Label11},
        {&ItemField::Identifikation, ui->Label12},
        {&ItemField::Kobssted, ui->Label13},
        {&ItemField::Kobsdato, ui->Label14},
        {&ItemField::Notater, ui->Label15},
        {&ItemField::Foto, ui->Label16},
    }};
    const QLabel* label = nullptr;
    for (const auto& [field, shown] : labels) {
        if (fieldName.compare(*field, Qt::CaseInsensitive) == 0) {
            label = shown;
        }
    }
    // The value's label is one per page.
    if (fieldName.compare(ItemField::Vaerdi, Qt::CaseInsensitive) == 0 && ui->PageControl1->currentWidget()) {
        label = ui->PageControl1->currentWidget()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    }
    if (!label) {
        return {};
    }
    QString caption = label->text().trimmed();
    while (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption;
}

QString TForm1::HelpSection(int language) {
    static const char* const sections[] = {"da", "en", "nb", "sv", "de"};
    return QLatin1String(sections[language >= -1 && language <= 3 ? language + 1 : 0]);
}

void TForm1::SetProgramFolder(const QString& folder) {
    m_programFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    m_register.SetPictures(TPictureFolder(m_programFolder + TPictureFolder::FolderName));
    m_pictureArea->Forget();
}

void TForm1::SetShareFolder(const QString& folder) {
    m_shareFolder =
        folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    LanguageSource1->SetLanguages(LanguageFiles(m_shareFolder));
}

QString TForm1::HelpFile() const {
    return (m_shareFolder.isEmpty() ? ProgramFolder() : m_shareFolder) + QStringLiteral("Help/Index.html");
}

// Gives the window its frame and font and records its designed layout for the resizer.
void TForm1::FormCreate() {
    // A sizeable frame whose title bar carries only the system menu: no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    FormResizer1->CaptureLayout();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    Guarded([this] { FormShow(); });
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

// Opens the register and shows it as the user left it: size, language, first page.
void TForm1::FormShow() {
    ui->Help1->setToolTip(HelpFile());
    m_dataHome = QDir::current().absolutePath() + QLatin1Char('/'); // the tables' "Data" is relative to it
    const TFieldFilter firstPage(ItemField::Kategori,
                                 Catalogue::CategoryValue(Catalogue::Categories().front(), -1));
    m_register.Open(firstPage); // reads the first page's keys only, not the whole register's
    m_pictureArea->SetFitToFrame(m_register.ProgramSettings().Value(QStringLiteral("Pictures.FitToFrame")) ==
                                 QStringLiteral("1"));
    BrowseOnlyIfReadOnly();
    // A blank size reads as 0; no window is smaller than the smallest one the platform gives.
    const QSize smallest = SmallestSize();
    TTable& config = m_register.ConfigTable();
    resize(width(), qMax(int(config.FieldByName(SettingsField::Hojde)->AsInteger()), smallest.height()));
    resize(qMax(int(config.FieldByName(SettingsField::Bredde)->AsInteger()), smallest.width()), height());
    TTable& items = m_register.HabitraTable();
    try {
        LanguageSource1->SetActiveLanguage(int(config.FieldByName(SettingsField::Sprog)->AsInteger()));
    } catch (...) {
        items.SetFilterOff(); // the start ends here, before the first page's filter is set
        throw;
    }
    const int language = ActiveLanguage();
    ui->Sproget->setText(Messages::LanguageName(language));
    SetLanguageMarks(language);
    Faneblade();
    items.SetFilterOn(firstPage);
    BackupActions1->UpdateReminder();
    if (items.RecordCount() == 0) {
        Announce(Messages::FirstUseAdvice(language), QMessageBox::Information);
    }
}

void TForm1::OpenTables() {
    m_register.Open();
}

void TForm1::CloseTables() {
    m_register.Close();
    m_pictureArea->Forget();
}

void TForm1::Announce(const QString& text, QMessageBox::Icon icon) {
    m_announcements.append({text, icon});
    if (m_announcements.size() > 1) {
        return; // the call already queued shows this one too
    }
    // Shown once the window is on screen, in front of it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            while (!m_announcements.isEmpty()) {
                const auto [shown, kind] = m_announcements.constFirst();
                Dialogs::MessageDlg(shown, kind, {Dialogs::mbOK});
                m_announcements.removeFirst();
            }
        },
        Qt::QueuedConnection);
}

void TForm1::BrowseOnlyIfReadOnly() {
    QStringList readOnly;
    const TRegister& reg = m_register;
    for (const TTable* table : {&reg.ConfigTable(), &reg.RegTable(), &reg.HabitraTable()}) {
        if (!table->CanModify()) {
            readOnly << table->FilePath();
        }
    }
    if (reg.ProgramSettings().IsReadOnly()) {
        readOnly << reg.ProgramSettings().Path();
    }
    if (readOnly.isEmpty()) {
        return;
    }
    if (!reg.HabitraTable().CanModify() || !reg.RegTable().CanModify()) {
        // Items can be looked at, not changed: the fields take no typing, the navigator offers no
        // editing buttons (it asks the table itself).
        for (QLineEdit* edit : std::initializer_list<QLineEdit*>{
                 ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4, ui->DBEdit5, ui->DBEdit6, ui->DBEdit7}) {
            edit->setReadOnly(true);
        }
        ui->DBMemo1->setReadOnly(true);
        ui->DBEdit5->CalendarButton()->setEnabled(false);
    }
    const bool wholeFolder = readOnly.size() == 4;
    const QString text =
        wholeFolder ? LocalText("Error.ReadOnlyFolder",
                                "Datamappen \"%1\" er skrivebeskyttet. Du kan se og udskrive dine "
                                "data, men ikke ændre dem, og vinduets størrelse og sprog gemmes ikke.")
                          .arg(reg.DataFolder())
                    : LocalText("Error.ReadOnlyTables",
                                "Disse tabeller er skrivebeskyttede: %1. Du kan se og udskrive dine "
                                "data, men ændringer i dem kan ikke gemmes.")
                          .arg(readOnly.join(QStringLiteral(", ")));
    Announce(text, QMessageBox::Warning);
}

QSize TForm1::SmallestSize() const {
    // The menu bar stays whole, so that every command can still be reached and the window enlarged.
    return minimumSizeHint().expandedTo(
        QSize(menuBar()->sizeHint().width(), menuBar()->sizeHint().height() * 3));
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

// Keeps the pages, the front page and the controls in proportion to the window.
void TForm1::FormResize() {
    // The client area follows the window; the proportional resizer hooks in here.
    ui->PageControl1->setGeometry(ui->centralwidget->rect());
    ui->Panel4->setGeometry(ui->centralwidget->rect());
    ui->Image1->setGeometry(ui->Panel4->rect());
    FormResizer1->ScaleLayout();
}

void TForm1::closeEvent(QCloseEvent* event) {
    Guarded([this] { FormClose(); });
    event->accept();
}

// Keeps the window's size and language for the next start.
void TForm1::FormClose() {
    // Settings that cannot be stored were said at start; closing says nothing more.
    TTable& config = m_register.ConfigTable();
    if (!config.CanModify()) {
        return;
    }
    config.Edit();
    config.FieldByName(SettingsField::Hojde)->SetAsInteger(height());
    config.FieldByName(SettingsField::Bredde)->SetAsInteger(width());
    config.FieldByName(SettingsField::Sprog)->SetAsInteger(ActiveLanguage());
    config.Post();
    config.Close();
}

// Lays the category tabs out in the active language's order.
void TForm1::Faneblade() {
    const QStringList order = Catalogue::PageOrder(ActiveLanguage());
    QTabBar* bar = ui->PageControl1->tabBar();
    m_arranging = true;
    for (int position = 0; position < order.size(); ++position) {
        const int from = ui->PageControl1->indexOf(Page(order.at(position)));
        if (from != position && from >= 0) {
            bar->moveTab(from, position);
        }
    }
    m_arranging = false;
}

// Shows the chosen category's items, with its labels, once the pending edit is stored.
void TForm1::PageControl1Change() {
    if (m_arranging) {
        return;
    }
    const Catalogue::TCategory* category =
        Catalogue::FindByPage(ui->PageControl1->currentWidget()->objectName());
    if (!category) {
        return;
    }
    StayOnPageUnlessPosted();
    const int language = ActiveLanguage();
    const QStringList labels = Catalogue::Labels(*category, language);
    ui->Label9->setText(labels.at(0));
    ui->Label10->setText(labels.at(1));
    ui->Label11->setText(labels.at(2));
    ui->Label12->setText(labels.at(3));
    FieldNames1->Refresh();
    // The filter's one notification shows the first item's picture.
    m_register.HabitraTable().SetFilterOn(ItemField::Kategori, Catalogue::CategoryValue(*category, language));
}

void TForm1::StayOnPageUnlessPosted() {
    // The pending edit is ended before anything of the new page shows: an item that cannot be
    // stored keeps its page, its labels and what the user typed, and the error says why.
    try {
        if (m_register.HabitraTable().Active()) {
            m_register.HabitraTable().CheckBrowseMode();
        }
    } catch (...) {
        if (m_page && m_page != ui->PageControl1->currentWidget()) {
            m_arranging = true;
            ui->PageControl1->setCurrentWidget(m_page);
            m_arranging = false;
        }
        throw;
    }
    m_page = ui->PageControl1->currentWidget();
}

// Follows a move with the item's picture; a new item starts in its first field.
void TForm1::DBNavigator1Click(TNavigateBtn button) {
    switch (button) {
    case nbFirst:
    case nbPrior:
    case nbNext:
    case nbLast:
        Billede();
        break;
    case nbInsert:
        ui->DBEdit1->setFocus();
        break;
    default:
        break;
    }
}

// Gives a new item its picture number and the category of the page it is made on.
void TForm1::HabitraTableAfterInsert() {
    m_register.NumberNewItem(PageCategory());
}

QString TForm1::PageCategory() const {
    const auto* category = Catalogue::FindByPage(ui->PageControl1->currentWidget()->objectName());
    return category ? Catalogue::CategoryValue(*category, ActiveLanguage()) : QString();
}

void TForm1::ShowCategory(const QString& page, const QStringList& labels) {
    m_arranging = true;
    ui->PageControl1->setCurrentWidget(Page(page));
    m_page = ui->PageControl1->currentWidget();
    m_arranging = false;
    ui->Label9->setText(labels.value(0));
    ui->Label10->setText(labels.value(1));
    ui->Label11->setText(labels.value(2));
    ui->Label12->setText(labels.value(3));
    FieldNames1->Refresh();
}

void TForm1::ShowItem(qint64 key) {
    TTable& items = m_register.HabitraTable();
    const TBookmark item{key, true};
    items.SetFilterOff();
    if (!items.BookmarkValid(item)) {
        return;
    }
    items.GotoBookmark(item);
    const QString value = items.FieldByName(ItemField::Kategori)->AsString();
    if (const Catalogue::TCategory* category = Catalogue::FindByValue(value)) {
        ShowCategory(QLatin1String(category->Page), Catalogue::Labels(*category, ActiveLanguage()));
    }
    ui->Panel4->hide();
    items.SetFilterOn(ItemField::Kategori, value);
    if (items.BookmarkValid(item)) {
        items.GotoBookmark(item);
    }
    Billede();
}

void TForm1::AttachOverview(TForm2& overview) {
    Form2 = &overview;
    overview.OnInsuranceReport = [this] { Forsikringsrapport1Click(); };
    overview.OnJump = [this](const QString& page, const QStringList& labels) { ShowCategory(page, labels); };
}

void TForm1::FollowFrontPage() {
    // The editor's keys do nothing unseen beneath the front page.
    for (TDBNavigator* navigator : m_navigators) {
        navigator->SetKeysEnabled(ui->Panel4->isHidden());
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Panel4 && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        FollowFrontPage();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Shows the current item's picture, or the placeholder when it has none.
void TForm1::Billede() {
    // Decoded off this thread: the picture follows as soon as its part in view is ready.
    const QString placeholder = m_register.Pictures().Placeholder();
    const QString file = m_register.PictureFile();
    m_pictureArea->Show(QFileInfo(file).isFile() ? file : placeholder, placeholder);
}

// "Hent Billede": brings a picture file in as the current item's picture.
void TForm1::SpeedButton4Click() {
    if (!OpenDialog1) { // made when first wanted: building a file dialog costs the start several ms
        OpenDialog1 = new QFileDialog(this);
        OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
        OpenDialog1->setFileMode(QFileDialog::ExistingFile);
        OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    }
    OpenDialog1->setNameFilters(PictureFetch::DialogFilters());
    OpenDialog1->selectFile(QString());
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) {
        return;
    }
    const QString target = m_register.FetchPicture(OpenDialog1->selectedFiles().constFirst());
    m_pictureArea->Forget();
    m_pictureArea->Show(target, QString());
}

// Shows the current item's picture full size in a window of its own.
void TForm1::Image3DblClick() {
    const TTable& items = m_register.HabitraTable();
    const QString description =
        items.Active() ? items.FieldByName(ItemField::Beskrivelse)->AsString() : QString();
    try {
        // Read before anything changes, so that an open window never shows one item's title over
        // another's picture.
        const QImage picture = LoadJpeg(m_register.PictureFile());
        BilledForm->setWindowTitle(description);
        BilledForm->SetPicture(picture);
        BilledForm->ShowWindow();
    } catch (const std::exception&) {
        Dialogs::ShowMessage(Messages::MissingPicture(ActiveLanguage(), description));
    }
}

// Previews the current item's picture printout.
void TForm1::SpeedButton1Click() {
    if (!m_register.PrintItem()) {
        Dialogs::MessageDlg(EmptyPrintoutText(), QMessageBox::Information, {Dialogs::mbOK});
    }
}

// Leaves the front page for the category pages.
void TForm1::SpeedButton3Click() {
    ui->Panel4->hide();
}

// Brings the front page back, with the backup reminder up to date.
void TForm1::Forside1Click() {
    BackupActions1->UpdateReminder();
    ui->Panel4->show();
    ui->Panel4->raise();
}

// Opens the overview of every item.
void TForm1::Oversigt1Click() {
    Form2->ShowModal();
}

// Exports every item to a text file the user names.
void TForm1::Dataeksport1Click() {
    m_register.Export(this);
}

// Writes a backup of the register and its pictures.
void TForm1::Sikkerhedskopi1Click() {
    BackupActions1->BackupClick();
}

// Puts a backup's register and pictures in place of the current ones.
void TForm1::GendanSikkerhedskopi1Click() {
    BackupActions1->RestoreClick();
}

// Opens the insurance report for the current category or the overview's selection.
void TForm1::Forsikringsrapport1Click() {
    TTable& items = m_register.HabitraTable();
    TInsuranceScope scope;
    scope.Table = &items;
    if (const auto* category = Catalogue::FindByPage(ui->PageControl1->currentWidget()->objectName())) {
        scope.Category = Catalogue::CategoryValue(*category, ActiveLanguage());
        // The page shows the value it was filtered on, which need not be the active language's:
        // at start the first page is filtered on its Danish value whatever the language.
        for (int language = -1; language <= 3; ++language) {
            const QString value = Catalogue::CategoryValue(*category, language);
            if (items.Filtered() && items.Filter() == FilterEquals(ItemField::Kategori, value)) {
                scope.Category = value;
            }
        }
    }
    if (Form2) {
        scope.Selected = Form2->SelectedItems();
    }
    QWidget* parent = Form2 && Form2->isVisible() ? static_cast<QWidget*>(Form2) : this;
    TInsuranceDialog dialog(std::move(scope), m_register.ProgramSettings(), m_settings, m_register.Pictures(),
                            LanguageSource1, parent);
    dialog.exec();
}

// Imports items from a text file and shows the first one imported.
void TForm1::Dataimport1Click() {
    if (const qint64 first = RunImportCommand(MakeImportSetup(*this), this)) {
        ShowItem(first);
    }
}

// Shows the about box.
void TForm1::Info1Click() {
    AboutBox1->ShowAbout();
}

// Ends the program.
void TForm1::Afslut1Click() {
    close();
}

// Opens the help guide at the section of the user's language.
void TForm1::Help1Click() {
    // At the guide's section of the language the user reads.
    TPlatform::Instance().OpenDocument(ui->Help1->toolTip() + QLatin1Char('#') +
                                       HelpSection(ActiveLanguage()));
}

// Tells the user where the register's data are kept.
void TForm1::Dataplacering1Click() {
    Dialogs::Box(QMessageBox::NoIcon, QStringLiteral("Habitra"),
                 Messages::DataLocation(ActiveLanguage(), DataHome()), {Dialogs::mbOK});
}

// Tells the user which screen sizes the window is made for.
void TForm1::Skrmstrrelser1Click() {
    Dialogs::MessageDlg(Messages::ScreenSizes(), QMessageBox::Information, {Dialogs::mbOK});
}

// Switches every window to the chosen language and its page order.
void TForm1::LanguageClick(int language) {
    LanguageSource1->SetActiveLanguage(language);
    ui->Sproget->setText(Messages::LanguageName(language));
    SetLanguageMarks(language);
    Faneblade();
    BackupActions1->UpdateReminder();
}

void TForm1::SetLanguageMarks(int language) {
    const std::array<QAction*, 5> actions{ui->Dansk, ui->English, ui->Norsk, ui->Svensk, ui->Deutsch};
    for (int i = 0; i < 5; ++i) {
        actions[size_t(i)]->setChecked(i - 1 == language);
    }
}
