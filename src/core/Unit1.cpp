#include "Unit1.h"

#include "Catalogue.h"
#include "Messages.h"
#include "ui_Unit1.h"

#include "export/DataExportASCII.h"
#include "export/ExportCommand.h"
#include "localisation/FormLocal.h"
#include "overview/Unit2.h"
#include "pictures/BilledReportUnit.h"
#include "pictures/BilledUnit.h"
#include "pictures/JpegLoader.h"
#include "localisation/LocalSource.h"
#include "localisation/TextCatalogue.h"
#include "report/ReportImage.h"
#include "report/ReportLabel.h"
#include "store/DataSource.h"
#include "support/AboutBox.h"
#include "support/Easysize.h"
#include "support/JustOne.h"
#include "store/FilterParser.h"
#include "store/ProgramSettings.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/Platform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QFontDatabase>
#include <QLabel>
#include <QTabBar>

using ErrorDisplay::Guarded;

namespace {
const QString DataFolder = QStringLiteral("Data");

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
static void InitialisePictures() { Q_INIT_RESOURCE(Pictures); }

TForm1::TForm1(const TFormatSettings& settings, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_settings(settings), m_programSettings(std::make_unique<TProgramSettings>()),
      m_programFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/')),
      m_dataHome(QDir::current().absolutePath() + QLatin1Char('/')),
      m_pictures(m_programFolder + QStringLiteral("Billeder")) {
    InitialisePictures();
    ui->setupUi(this);
    CreateSupport();
    CreateTables();
    CreatePages();
    BindEditor();
    DecorateFrontPage();
    ConnectMenu();
    ConnectButtons();
    CreateLanguageSource();
    FormCreate();
}

TForm1::~TForm1() {
    HabitraSource->OnDataChange = nullptr;
    HabitraTable->AfterInsert = nullptr;
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

void TForm1::CreateTables() {
    const auto table = [this](const char* name, const QString& file, std::vector<TFieldDef> fields) {
        auto* created = new TTable(this);
        created->setObjectName(QLatin1String(name));
        created->SetDatabaseName(DataFolder);
        created->SetTableName(file);
        created->SetFieldDefs(std::move(fields));
        created->SetFormatSettings(m_settings);
        return created;
    };
    const auto source = [this](const char* name, TTable* dataSet) {
        auto* created = new TDataSource(this);
        created->setObjectName(QLatin1String(name));
        created->SetDataSet(dataSet);
        return created;
    };
    HabitraTable = table("HabitraTable", Schema::ItemFile, Schema::ItemFields());
    HabitraSource = source("HabitraSource", HabitraTable);
    RegTable = table("RegTable", Schema::CounterFile, Schema::CounterFields());
    RegSource = source("RegSource", RegTable);
    ConfigTable = table("ConfigTable", Schema::SettingsFile, Schema::SettingsFields());
    ConfigSource = source("ConfigSource", ConfigTable);
    HabitraTable->AfterInsert = [this](TTable&) { HabitraTableAfterInsert(); };
    HabitraSource->OnDataChange = [this](TDataSource&, TField*) { Guarded([this] { Billede(); }); };
}

void TForm1::CreateLanguageSource() {
    LanguageSource1 = new TLanguageSource(this);
    LanguageSource1->setObjectName(QStringLiteral("LanguageSource1"));
    LanguageSource1->BeginLoading();
    LanguageSource1->SetOriginalName(QStringLiteral("Dansk"));
    LanguageSource1->SetDefaultFileExt(QStringLiteral("lng"));
    LanguageSource1->SetLanguages(LanguageFiles(m_shareFolder));
    LanguageSource1->Loaded();

    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint"), QStringLiteral("Warning"),
                                  QStringLiteral("Text"), QStringLiteral("Hints")});
    FormLocalizer1->SetSource(LanguageSource1);
    TextCatalogue1 = new TTextCatalogue(this);
    TextCatalogue1->SetSource(LanguageSource1);
}

void TForm1::CreatePages() {
    ui->PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab:hover { background: #dbe7fb; }"));
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
        navigator->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel});
        navigator->SetDataSource(HabitraSource);
        navigator->OnClick = [this](TDBNavigator&, TNavigateBtn button) { DBNavigator1Click(button); };
        m_navigators[size_t(number)] = navigator;
        ui->PageControl1->addTab(page, QString::fromUtf8(category.Values[0]));
        ++number;
    }
    ui->PageControl1->setCurrentIndex(0);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, [this] { Guarded([this] { PageControl1Change(); }); });
}

void TForm1::BindEditor() {
    const std::array<std::pair<TDBEdit*, const char*>, 6> edits{{
        {ui->DBEdit1, "Beskrivelse"},
        {ui->DBEdit2, "Fabrikat"},
        {ui->DBEdit3, "Model"},
        {ui->DBEdit4, "Identifikation"},
        {ui->DBEdit6, "Kobssted"},
        {ui->DBEdit7, "Vaerdi"},
    }};
    for (const auto& [edit, field] : edits) {
        edit->SetDataSource(HabitraSource);
        edit->SetDataField(QLatin1String(field));
    }
    ui->DBEdit5->SetDataSource(HabitraSource);
    ui->DBEdit5->SetDataField(QStringLiteral("Kobsdato"));
    ui->DBMemo1->SetDataSource(HabitraSource);
    ui->DBMemo1->SetDataField(QStringLiteral("Notater"));
    ui->DBText1->SetDataSource(HabitraSource);
    ui->DBText1->SetDataField(QStringLiteral("Foto"));

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
    for (QWidget* white : std::initializer_list<QWidget*>{ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4,
                                                         ui->DBEdit5, ui->DBEdit6, ui->DBEdit7, ui->DBMemo1}) {
        QPalette palette = white->palette();
        palette.setColor(QPalette::Base, Qt::white);
        white->setPalette(palette);
    }
}

void TForm1::DecorateFrontPage() {
    ui->Panel4->raise();
    const auto picture = [](const QString& name) {
        QFile file(QStringLiteral(":/core/") + name);
        return file.open(QIODevice::ReadOnly) ? QPixmap::fromImage(LoadJpeg(file.readAll(), name)) : QPixmap();
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
        connect(action, &QAction::triggered, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ui->Forside1, &TForm1::Forside1Click);
    on(ui->Oversigt1, &TForm1::Oversigt1Click);
    on(ui->Dataeksport1, &TForm1::Dataeksport1Click);
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
        connect(button, &QAbstractButton::clicked, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    on(ui->SpeedButton3, &TForm1::SpeedButton3Click);
    on(ui->SpeedButton4, &TForm1::SpeedButton4Click);
    on(ui->SpeedButton1, &TForm1::SpeedButton1Click);
    connect(ui->Image3, &TPictureLabel::doubleClicked, this, [this] { Guarded([this] { Image3DblClick(); }); });
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    on(ui->SpeedButton5, &TForm1::Afslut1Click);
    on(ui->SpeedButton2, &TForm1::Afslut1Click);
    for (QAbstractButton* button : {ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4, ui->SpeedButton5}) {
        button->setCursor(Qt::PointingHandCursor);
    }
}

QWidget* TForm1::Page(const QString& name) const {
    for (int i = 0; i < ui->PageControl1->count(); ++i) {
        if (ui->PageControl1->widget(i)->objectName() == name) {
            return ui->PageControl1->widget(i);
        }
    }
    return nullptr;
}

int TForm1::ActiveLanguage() const { return LanguageSource1 ? LanguageSource1->ActiveLanguage() : -1; }

void TForm1::SetProgramFolder(const QString& folder) {
    m_programFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    m_pictures = TPictureFolder(m_programFolder + QStringLiteral("Billeder"));
    m_shownPicture.clear();
}

void TForm1::SetShareFolder(const QString& folder) {
    m_shareFolder = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    LanguageSource1->SetLanguages(LanguageFiles(m_shareFolder));
}

QString TForm1::HelpFile() const {
    return (m_shareFolder.isEmpty() ? ProgramFolder() : m_shareFolder) + QStringLiteral("Help/Index.html");
}

void TForm1::FormCreate() {
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

void TForm1::FormShow() {
    ui->Help1->setToolTip(HelpFile());
    m_dataHome = QDir::current().absolutePath() + QLatin1Char('/'); // the tables' "Data" is relative to it
    ConfigTable->Open();
    RegTable->Open();
    HabitraTable->Open();
    m_programSettings->Open(DataFolder);
    resize(width(), int(ConfigTable->FieldByName(QStringLiteral("Hojde"))->AsInteger()));
    resize(int(ConfigTable->FieldByName(QStringLiteral("Bredde"))->AsInteger()), height());
    LanguageSource1->SetActiveLanguage(int(ConfigTable->FieldByName(QStringLiteral("Sprog"))->AsInteger()));
    const int language = ActiveLanguage();
    ui->Sproget->setText(Messages::LanguageName(language));
    SetLanguageMarks(language);
    Faneblade();
    HabitraTable->SetFilter(FilterEquals(QStringLiteral("Kategori"), QStringLiteral("Antikviteter")));
    HabitraTable->SetFiltered(true);
    if (HabitraTable->RecordCount() == 0) {
        // Shown once the window is on screen, in front of it.
        QMetaObject::invokeMethod(
            this,
            [this, language] {
                Dialogs::MessageDlg(Messages::FirstUseAdvice(language), QMessageBox::Information, {Dialogs::mbOK});
            },
            Qt::QueuedConnection);
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

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

void TForm1::FormClose() {
    if (!ConfigTable->Active()) {
        return;
    }
    ConfigTable->Edit();
    ConfigTable->FieldByName(QStringLiteral("Hojde"))->SetAsInteger(height());
    ConfigTable->FieldByName(QStringLiteral("Bredde"))->SetAsInteger(width());
    ConfigTable->FieldByName(QStringLiteral("Sprog"))->SetAsInteger(ActiveLanguage());
    ConfigTable->Post();
    ConfigTable->Close();
}

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

void TForm1::PageControl1Change() {
    if (m_arranging) {
        return;
    }
    const Catalogue::TCategory* category = Catalogue::FindByPage(ui->PageControl1->currentWidget()->objectName());
    if (!category) {
        return;
    }
    const int language = ActiveLanguage();
    const QStringList labels = Catalogue::Labels(*category, language);
    ui->Label9->setText(labels.at(0));
    ui->Label10->setText(labels.at(1));
    ui->Label11->setText(labels.at(2));
    ui->Label12->setText(labels.at(3));
    HabitraTable->SetFilter(FilterEquals(QStringLiteral("Kategori"), Catalogue::CategoryValue(*category, language)));
    HabitraTable->SetFiltered(true);
    Billede();
}

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

void TForm1::HabitraTableAfterInsert() {
    RegTable->Last();
    const qint64 last = RegTable->IsEmpty() ? 0 : RegTable->FieldByName(QStringLiteral("Regnr"))->AsInteger();
    RegTable->Append();
    RegTable->FieldByName(QStringLiteral("Regnr"))->SetAsInteger(last + 1);
    RegTable->Post();
    HabitraTable->FieldByName(QStringLiteral("Foto"))->SetAsInteger(last + 1);
    if (const auto* category = Catalogue::FindByPage(ui->PageControl1->currentWidget()->objectName())) {
        HabitraTable->FieldByName(QStringLiteral("Kategori"))
            ->SetAsString(Catalogue::CategoryValue(*category, ActiveLanguage()));
    }
}

void TForm1::ShowCategory(const QString& page, const QStringList& labels) {
    m_arranging = true;
    ui->PageControl1->setCurrentWidget(Page(page));
    m_arranging = false;
    ui->Label9->setText(labels.value(0));
    ui->Label10->setText(labels.value(1));
    ui->Label11->setText(labels.value(2));
    ui->Label12->setText(labels.value(3));
}

QString TForm1::PictureFile() const {
    const QString foto = HabitraTable->Active() ? HabitraTable->FieldByName(QStringLiteral("Foto"))->AsString() : QString();
    return m_pictures.ItemPicture(foto);
}

void TForm1::AttachOverview(TForm2& overview) {
    Form2 = &overview;
    overview.OnJump = [this](const QString& page, const QStringList& labels) { ShowCategory(page, labels); };
    overview.DanishCategory = [](const QString& value) {
        const Catalogue::TCategory* category = Catalogue::FindByValue(value);
        return category ? Catalogue::CategoryValue(*category, -1) : QString();
    };
    Form2Resizer = new TFormResizer(&overview);
    Form2Resizer->setObjectName(QStringLiteral("FormResizer1"));
    Form2Resizer->SetResizeFonts(false);
    Form2Resizer->SetMinFontSize(8);
    Form2Resizer->SetMaxFontSize(48);
    Form2Resizer->CaptureLayout();
    overview.installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form2 && event->type() == QEvent::Resize) {
        Guarded([this] { Form2Resizer->ScaleLayout(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Billede() {
    QString file = PictureFile();
    QFileInfo info(file);
    if (!info.isFile()) {
        file = m_pictures.Find(QStringLiteral("Ingen.jpg"));
        info = QFileInfo(file);
    }
    const QString stamp = file + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
                          QString::number(info.lastModified().toMSecsSinceEpoch());
    if (stamp == m_shownPicture) {
        return;
    }
    QImage image;
    try {
        image = LoadJpeg(file);
    } catch (const EPictureError&) {
        image = LoadJpeg(m_pictures.Find(QStringLiteral("Ingen.jpg")));
    }
    ui->Image3->SetPicture(image);
    m_shownPicture = stamp;
}

void TForm1::SpeedButton4Click() {
    OpenDialog1->selectFile(QString());
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) {
        return;
    }
    const QString chosen = OpenDialog1->selectedFiles().constFirst();
    const QString target = PictureFile();
    const QFileInfo chosenInfo(chosen);
    const QFileInfo targetInfo(target);
    const bool same = targetInfo.exists() && chosenInfo.canonicalFilePath() == targetInfo.canonicalFilePath();
    if (!same) {
        // Written beside the target and renamed over it: a failed copy leaves the old picture whole.
        QFile source(chosen);
        QSaveFile copy(target);
        const auto fail = [&](const QString& reason) {
            throw EPictureError(QStringLiteral("Billedet \"%1\" kunne ikke kopieres til \"%2\": %3").arg(chosen, target, reason));
        };
        if (!source.open(QIODevice::ReadOnly)) {
            fail(source.errorString());
        }
        if (!copy.open(QIODevice::WriteOnly)) {
            fail(copy.errorString());
        }
        QByteArray block;
        while (!(block = source.read(1 << 20)).isEmpty()) {
            if (copy.write(block) != block.size()) {
                fail(copy.errorString());
            }
        }
        if (source.error() != QFileDevice::NoError) {
            fail(source.errorString());
        }
        if (!copy.commit()) {
            fail(copy.errorString());
        }
    }
    m_shownPicture.clear();
    ui->Image3->SetPicture(LoadJpeg(target));
    m_shownPicture = QStringLiteral("fetched");
}

void TForm1::Image3DblClick() {
    const QString description = HabitraTable->Active() ? HabitraTable->FieldByName(QStringLiteral("Beskrivelse"))->AsString() : QString();
    try {
        // Read before anything changes, so that an open window never shows one item's title over
        // another's picture.
        const QImage picture = LoadJpeg(PictureFile());
        BilledForm->setWindowTitle(description);
        BilledForm->SetPicture(picture);
        BilledForm->ShowWindow();
    } catch (const std::exception&) {
        Dialogs::ShowMessage(Messages::MissingPicture(ActiveLanguage(), description));
    }
}

void TForm1::SpeedButton1Click() {
    // A new item is stored first, so that it has a bookmark to come back to.
    HabitraTable->CheckBrowseMode();
    TField* kategori = HabitraTable->FieldByName(QStringLiteral("Kategori"));
    TField* beskrivelse = HabitraTable->FieldByName(QStringLiteral("Beskrivelse"));
    const QString category = kategori->AsString();
    const TBookmark item = HabitraTable->GetBookmark();
    HabitraTable->SetFilter(FilterEquals(kategori->FieldName(), category) + QStringLiteral(" and ") +
                            FilterEquals(beskrivelse->FieldName(), beskrivelse->AsString()));
    HabitraTable->SetFiltered(true);
    // Items may share category and description: the printout is of the item the user stood on.
    if (HabitraTable->BookmarkValid(item)) {
        HabitraTable->GotoBookmark(item);
    }
    const auto restoreCategory = [this] {
        HabitraTable->SetFilter(FilterEquals(QStringLiteral("Kategori"),
                                             HabitraTable->FieldByName(QStringLiteral("Kategori"))->AsString()));
        HabitraTable->SetFiltered(true);
    };
    try {
        TBilledReport report(HabitraTable);
        report.SetFormatSettings(m_settings);
        report.QRLabel1->SetCaption(beskrivelse->AsString());
        report.QRImage1->SetPicture(LoadJpeg(PictureFile()));
        report.Preview();
    } catch (...) {
        restoreCategory();
        throw;
    }
    restoreCategory();
}

void TForm1::SpeedButton3Click() { ui->Panel4->hide(); }

void TForm1::Forside1Click() {
    ui->Panel4->show();
    ui->Panel4->raise();
}

void TForm1::Oversigt1Click() { Form2->ShowModal(); }

void TForm1::Dataeksport1Click() { RunExportCommand(*Form2->DataExportASCII1, this); }

void TForm1::Info1Click() { AboutBox1->ShowAbout(); }

void TForm1::Afslut1Click() { close(); }

void TForm1::Help1Click() { TPlatform::Instance().OpenDocument(ui->Help1->toolTip()); }

void TForm1::Dataplacering1Click() {
    Dialogs::Box(QMessageBox::NoIcon, QStringLiteral("Habitra"), Messages::DataLocation(ActiveLanguage(), DataHome()),
                 {Dialogs::mbOK});
}

void TForm1::Skrmstrrelser1Click() {
    Dialogs::MessageDlg(Messages::ScreenSizes(), QMessageBox::Information, {Dialogs::mbOK});
}

void TForm1::LanguageClick(int language) {
    LanguageSource1->SetActiveLanguage(language);
    ui->Sproget->setText(Messages::LanguageName(language));
    SetLanguageMarks(language);
    Faneblade();
}

void TForm1::SetLanguageMarks(int language) {
    const std::array<QAction*, 5> actions{ui->Dansk, ui->English, ui->Norsk, ui->Svensk, ui->Deutsch};
    for (int i = 0; i < 5; ++i) {
        actions[size_t(i)]->setChecked(i - 1 == language);
    }
}
