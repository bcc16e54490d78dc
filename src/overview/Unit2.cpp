#include "Unit2.h"
#include "Unit3.h"

#include "ui_Unit2.h"

#include "catalogue/Catalogue.h"
#include "localisation/FormLocalizer.h"
#include "overview/ColumnSizer.h"
#include "overview/EasyFind.h"
#include "register/Register.h"
#include "store/DataSource.h"
#include "store/Field.h"
#include "store/FilterParser.h"
#include "store/ItemFields.h"
#include "store/ProgramSettings.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "support/Easysize.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/HintName.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {
using ErrorDisplay::Guarded;

const QString AllCategories = QStringLiteral("Alle kategorier");
const QString ColumnWidthsName = QStringLiteral("Overview.ColumnWidths");
} // namespace

TForm2::TForm2(TRegister& reg, TCustomLanguageSource* languageSource, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>()), m_register(reg), m_habitraTable(reg.HabitraTable()),
      m_configTable(reg.ConfigTable()) {
    ui->setupUi(this);
    DecorateControls();
    CreateComponents(languageSource);
    ConnectControls();
    CreateResizer();
}

TForm2::~TForm2() = default;

void TForm2::DecorateControls() {
    ui->DBGrid1->SetDataSource(&m_register.HabitraSource());
    // The grid's rows were measured before its own, smaller font was set.
    ui->DBGrid1->verticalHeader()->setDefaultSectionSize(ui->DBGrid1->fontMetrics().height() + 6);
    m_columns = new TColumnSizer(*ui->DBGrid1, ItemField::Beskrivelse);
    // Several items can be chosen for the insurance report; a plain click still just moves.
    ui->DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui->DBNavigator1->SetDataSource(&m_register.HabitraSource());
    ui->DBNavigator1->SetVisibleButtons(
        {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh});
    ui->DBNavigator1->SetFlat(true);
    ui->ComboBox1->addItem(AllCategories);
    ui->ComboBox1->addItems(Catalogue::OverviewList());
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ComboBox1->SetPrompt(QStringLiteral("Vælg kategori"));
    QPalette white = ui->Edit1->palette();
    white.setColor(QPalette::Base, Qt::white);
    ui->Edit1->setPalette(white);
    ui->ComboBox1->setPalette(white);
    ui->SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    new THintName(ui->SpeedButton3);
    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
}

void TForm2::CreateComponents(TCustomLanguageSource* languageSource) {
    EasyFind1 = new TEasyFind(this);
    EasyFind1->setObjectName(QStringLiteral("EasyFind1"));
    EasyFind1->SetDataSource(&m_register.HabitraSource());
    EasyFind1->SetMultiCharPattern(QStringLiteral("%"));
    EasyFind1->SetSingleCharPattern(QLatin1Char('_'));
    EasyFind1->SetCaseSensitive(false);
    EasyFind1->SetAllowWildcards(false);

    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint"), QStringLiteral("Text"),
                                  QStringLiteral("Items"), QStringLiteral("Hints")});
    FormLocalizer1->SetSource(languageSource);
}

void TForm2::ConnectControls() {
    connect(ui->RadioButton1, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            Guarded([this] { RadioButton1Click(); });
        }
    });
    connect(ui->RadioButton2, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            Guarded([this] { RadioButton2Click(); });
        }
    });
    connect(ui->ComboBox1, &TCategoryComboBox::Chosen, this,
            [this] { Guarded([this] { ComboBox1Change(); }); });
    connect(ui->Edit1, &QLineEdit::textChanged, this, [this] { Guarded([this] { Edit1Change(); }); });
    connect(ui->SpeedButton3, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton3Click(); }); });
    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(ui->SpeedButton2, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton2Click(); }); });
    connect(ui->SpeedButton4, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton4Click(); }); });
    connect(ui->DBGrid1, &TDBGrid::DblClick, this, [this] { Guarded([this] { DBGrid1DblClick(); }); });
}

void TForm2::CreateResizer() {
    FormResizer1 = new TFormResizer(this);
    FormResizer1->setObjectName(QStringLiteral("FormResizer1"));
    FormResizer1->SetResizeFonts(false);
    FormResizer1->SetMinFontSize(8);
    FormResizer1->SetMaxFontSize(48);
    FormResizer1->CaptureLayout();
}

int TForm2::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    if (isVisible()) {
        loop.exec(QEventLoop::DialogExec);
    }
    m_modalLoop = nullptr;
    return 2; // closed: the cancel result
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Guarded([this] { FormShow(); });
    }
}

void TForm2::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_modalLoop && !event->spontaneous()) {
        m_modalLoop->quit();
    }
}

void TForm2::closeEvent(QCloseEvent* event) {
    Guarded([this] { FormClose(); });
    event->accept();
}

void TForm2::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Guarded([this] { FormActivate(); });
    }
}

void TForm2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (FormResizer1) { // made last in the constructor
        Guarded([this] { FormResizer1->ScaleLayout(); });
    }
}

// Opens at the size the user left it, centred, with the user's column widths.
void TForm2::FormShow() {
    const int height = int(m_configTable.FieldByName(SettingsField::HojdeOversigt)->AsInteger());
    const int width = int(m_configTable.FieldByName(SettingsField::BreddeOversigt)->AsInteger());
    // A settings record without sizes keeps the design size.
    resize(width > 0 ? width : this->width(), height > 0 ? height : this->height());
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    RestoreColumns();
}

void TForm2::RestoreColumns() {
    // The user's widths once per run; after that the grid keeps whatever the user made of them.
    if (TProgramSettings* settings = Settings(); settings && !m_columns->Chosen()) {
        m_columns->Restore(settings->Value(ColumnWidthsName));
    }
    m_columns->FitSoon();
}

void TForm2::SaveColumns() {
    const QString widths = m_columns->Saved();
    // Settings that cannot be written (a read-only data folder) keep the widths for this run only.
    TProgramSettings* settings = Settings();
    if (!widths.isEmpty() && settings && !settings->IsReadOnly()) {
        settings->SetValue(ColumnWidthsName, widths);
    }
}

TProgramSettings* TForm2::Settings() const {
    TProgramSettings& settings = m_register.ProgramSettings();
    return settings.IsOpen() ? &settings : nullptr;
}

// Shows every item whenever the window comes to the front.
void TForm2::FormActivate() {
    m_habitraTable.SetFilterOff();
}

// Keeps the window's size and column widths for the next time.
void TForm2::FormClose() {
    if (!m_configTable.CanModify()) {
        return; // a read-only settings table was said at start
    }
    m_configTable.Edit();
    m_configTable.FieldByName(SettingsField::HojdeOversigt)->SetAsInteger(height());
    m_configTable.FieldByName(SettingsField::BreddeOversigt)->SetAsInteger(width());
    m_configTable.Post();
    SaveColumns();
}

// Sorts the items by category.
void TForm2::RadioButton1Click() {
    m_habitraTable.SetIndexName(Schema::IndexKategori);
}

// Sorts the items by description.
void TForm2::RadioButton2Click() {
    m_habitraTable.SetIndexName(Schema::IndexBeskrivelse);
}

// Narrows the list to the chosen category, or shows every item.
void TForm2::ComboBox1Change() {
    const QString text = ui->ComboBox1->currentText();
    // The first entry lists everything in every language, not only when it reads "Alle kategorier".
    if (text == AllCategories || ui->ComboBox1->ChosenIndex() == 0) {
        m_habitraTable.SetFilterOff();
        return;
    }
    m_habitraTable.SetFilterOn(ItemField::Kategori, text);
}

// Finds the first item that matches what the user types, in the sort column.
void TForm2::Edit1Change() {
    if (ui->RadioButton2->isChecked()) {
        EasyFind1->SetSearchField(ItemField::Beskrivelse);
    } else if (ui->RadioButton1->isChecked()) {
        EasyFind1->SetSearchField(ItemField::Kategori);
    }
    EasyFind1->SetSearchKey(ui->Edit1->text());
    EasyFind1->Find();
}

// Finds the next matching item.
void TForm2::SpeedButton3Click() {
    EasyFind1->FindNext();
}

// Prints the inventory list of the items shown.
void TForm2::SpeedButton1Click() {
    if (OnPrint) {
        OnPrint();
        return;
    }
    PrintInventoryList(m_habitraTable, ui->ComboBox1->ListText(), m_habitraTable.FormatSettings());
}

// Closes the overview.
void TForm2::SpeedButton2Click() {
    close();
}

// Opens the insurance report for the selected items.
void TForm2::SpeedButton4Click() {
    if (OnInsuranceReport) {
        OnInsuranceReport();
    }
}

std::vector<int> TForm2::SelectedRows() const {
    std::vector<int> rows;
    const QItemSelectionModel* selection = ui->DBGrid1->selectionModel();
    if (!selection) {
        return rows;
    }
    // Ranges, not indexes: Ctrl+A over a large register selects every cell.
    std::vector<bool> chosen(size_t(std::max(0, m_habitraTable.RecordCount())), false);
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = std::max(0, range.top()); row <= range.bottom() && row < int(chosen.size()); ++row) {
            chosen[size_t(row)] = true;
        }
    }
    for (size_t row = 0; row < chosen.size(); ++row) {
        if (chosen[row]) {
            rows.push_back(int(row));
        }
    }
    return rows;
}

std::vector<TInsuranceItem> TForm2::SelectedItems() const {
    return ReadInsuranceItems(m_habitraTable, SelectedRows());
}

bool TForm2::JumpTarget(const QString& value, QString& page, QStringList& labels) const {
    const Catalogue::TCategory* category = Catalogue::FindByValue(value);
    if (!category) {
        return false;
    }
    page = QLatin1String(category->Page);
    labels = Catalogue::JumpLabels(*category);
    return true;
}

// Goes back to the main window on the double-clicked item's category page.
void TForm2::DBGrid1DblClick() {
    const QString value = m_habitraTable.FieldByName(ItemField::Kategori)->AsString();
    QString page;
    QStringList labels;
    if (JumpTarget(value, page, labels) && OnJump) {
        OnJump(page, labels);
    }
    close();
    if (QWidget* main = parentWidget()) {
        main->window()->raise();
        main->window()->activateWindow();
    }
}
