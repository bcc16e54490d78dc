#include "Unit1.h"

#include "Catalogue.h"
#include "Messages.h"
#include "ui_Unit1.h"

#include "localisation/FormLocal.h"
#include "localisation/LocalSource.h"
#include "store/DataSource.h"
#include "store/FilterParser.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/Platform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QTabBar>

using ErrorDisplay::Guarded;

namespace {
const QString DataFolder = QStringLiteral("Data");
}

TForm1::TForm1(const TFormatSettings& settings, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_settings(settings) {
    ui->setupUi(this);
    CreateTables();
    CreatePages();
    BindEditor();
    DecorateFrontPage();
    ConnectMenu();
    ConnectButtons();
    CreateLanguageSource();
    FormCreate();
}

TForm1::~TForm1() = default;

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
    HabitraSource->OnDataChange = [this](TDataSource&, TField*) { Billede(); };
}

void TForm1::CreateLanguageSource() {
    LanguageSource1 = new TLanguageSource(this);
    LanguageSource1->setObjectName(QStringLiteral("LanguageSource1"));
    LanguageSource1->BeginLoading();
    LanguageSource1->SetOriginalName(QStringLiteral("Dansk"));
    LanguageSource1->SetDefaultFileExt(QStringLiteral("lng"));
    LanguageSource1->SetLanguages({QStringLiteral("English=English.lng"), QStringLiteral("Norsk=Norsk.lng"),
                                   QStringLiteral("Svensk=Svensk.lng"), QStringLiteral("Deutsch=Deutsch.lng")});
    LanguageSource1->Loaded();

    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint"), QStringLiteral("Warning"),
                                  QStringLiteral("Text"), QStringLiteral("Hints")});
    FormLocalizer1->SetSource(LanguageSource1);
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
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(48);
    title.setBold(true);
    ui->ShadowLabel1->setFont(title);
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
    on(ui->SpeedButton5, &TForm1::Afslut1Click);
    on(ui->SpeedButton2, &TForm1::Afslut1Click);
    for (QAbstractButton* button : {ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton5}) {
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

QString TForm1::ProgramFolder() const { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

void TForm1::FormCreate() {
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
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
    ui->Help1->setToolTip(ProgramFolder() + QStringLiteral("Help/Index.html"));
    ConfigTable->Open();
    RegTable->Open();
    HabitraTable->Open();
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

void TForm1::Billede() {}

void TForm1::SpeedButton3Click() { ui->Panel4->hide(); }

void TForm1::Forside1Click() {
    ui->Panel4->show();
    ui->Panel4->raise();
}

void TForm1::Oversigt1Click() { emit overviewRequested(); }

void TForm1::Dataeksport1Click() { emit exportRequested(); }

void TForm1::Info1Click() { emit aboutRequested(); }

void TForm1::Afslut1Click() { close(); }

void TForm1::Help1Click() { TPlatform::Instance().OpenDocument(ui->Help1->toolTip()); }

void TForm1::Dataplacering1Click() {
    Dialogs::Box(QMessageBox::NoIcon, QStringLiteral("Habitra"), Messages::DataLocation(ActiveLanguage(), ProgramFolder()),
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
