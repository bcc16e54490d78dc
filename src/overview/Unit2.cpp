#include "Unit2.h"
#include "Unit3.h"

#include "ui_Unit2.h"

#include "export/DataExportASCII.h"
#include "localisation/FormLocalizer.h"
#include "overview/ColumnSizer.h"
#include "overview/EasyFind.h"
#include "store/DataSource.h"
#include "store/Field.h"
#include "store/FilterParser.h"
#include "store/ProgramSettings.h"
#include "store/Table.h"
#include "toolkit/ErrorDisplay.h"

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

struct TJump {
    const char* Value; // the Danish category value
    const char* Page;
    const char* Labels[4];
};

// Where a double-click on an item leads: its category's page, with these Danish labels in every
// language.
constexpr TJump Jumps[] = {
    {"Antikviteter", "TabSheet1", {"Beskrivelse", "Fabrikat", "Årgang", "Identifikation"}},
    {"Bøger", "TabSheet2", {"Titel", "Forfatter", "Forlag", "ISBN nr."}},
    {"Diverse", "TabSheet3", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Haveudstyr", "TabSheet4", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Hårde hvidevarer", "TabSheet5", {"Beskrivelse", "Fabrikat", "Model", "Serienummer"}},
    {"Kunstgenstande", "TabSheet18", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Køkkenting", "TabSheet6", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Møbler", "TabSheet9", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Musikmedier", "TabSheet7", {"Titel", "Kunstner", "Musikforlag", "Identifikation"}},
    {"Musikinstrumenter", "TabSheet8", {"Instrument", "Fabrikat", "Model", "Identifikation"}},
    {"PC-Udstyr", "TabSheet10", {"Beskrivelse", "Fabrikat", "Model", "Serienummer"}},
    {"PC-Software", "TabSheet11", {"Beskrivelse", "Fabrikat", "Version", "Licensnummer"}},
    {"Pynteting", "TabSheet12", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Radio/TV/Video", "TabSheet19", {"Beskrivelse", "Fabrikat", "Model", "Serienummer"}},
    {"Smykker/Ure", "TabSheet13", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Sportsudstyr", "TabSheet20", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Køretøjer", "TabSheet14", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Tøj/Sko", "TabSheet15", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Videobånd", "TabSheet16", {"Titel", "Fabrikat", "Spilletid", "Identifikation"}},
    {"Værktøj", "TabSheet17", {"Beskrivelse", "Fabrikat", "Model", "Identifikation"}},
    {"Fotoudstyr", "TabSheet21", {"Beskrivelse", "Fabrikat", "Model", "Serienummer"}},
};

const TJump* FindJump(const QString& value) {
    for (const TJump& jump : Jumps) {
        if (value == QString::fromUtf8(jump.Value)) {
            return &jump;
        }
    }
    return nullptr;
}
} // namespace

TForm2::TForm2(TTable& habitraTable, TDataSource& habitraSource, TTable& configTable,
               TCustomLanguageSource* languageSource, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>()), m_habitraTable(habitraTable), m_configTable(configTable) {
    ui->setupUi(this);
    DecorateControls(habitraSource);
    CreateComponents(habitraSource, languageSource);
    ConnectControls();
}

TForm2::~TForm2() = default;

void TForm2::DecorateControls(TDataSource& habitraSource) {
    ui->DBGrid1->SetDataSource(&habitraSource);
    // The grid's rows were measured before its own, smaller font was set.
    ui->DBGrid1->verticalHeader()->setDefaultSectionSize(ui->DBGrid1->fontMetrics().height() + 6);
    m_columns = new TColumnSizer(*ui->DBGrid1, QStringLiteral("Beskrivelse"));
    // Several items can be chosen for the insurance report; a plain click still just moves.
    ui->DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui->DBNavigator1->SetDataSource(&habitraSource);
    ui->DBNavigator1->SetVisibleButtons(
        {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh});
    ui->DBNavigator1->SetFlat(true);
    ui->ComboBox1->setCurrentIndex(-1);
    ui->ComboBox1->SetPrompt(QStringLiteral("Vælg kategori"));
    QPalette white = ui->Edit1->palette();
    white.setColor(QPalette::Base, Qt::white);
    ui->Edit1->setPalette(white);
    ui->ComboBox1->setPalette(white);
    ui->SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    ui->SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->SpeedButton4->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
}

void TForm2::CreateComponents(TDataSource& habitraSource, TCustomLanguageSource* languageSource) {
    EasyFind1 = new TEasyFind(this);
    EasyFind1->setObjectName(QStringLiteral("EasyFind1"));
    EasyFind1->SetDataSource(&habitraSource);
    EasyFind1->SetMultiCharPattern(QStringLiteral("%"));
    EasyFind1->SetSingleCharPattern(QLatin1Char('_'));
    EasyFind1->SetCaseSensitive(false);
    EasyFind1->SetAllowWildcards(false);

    DataExportASCII1 = new TDataExportASCII(m_habitraTable.FormatSettings(), this);
    DataExportASCII1->setObjectName(QStringLiteral("DataExportASCII1"));
    DataExportASCII1->SetExportSource(esDataSet);
    DataExportASCII1->SetDataSet(&m_habitraTable);
    DataExportASCII1->SetExportType(etCSV);
    DataExportASCII1->SetCSVComma(QStringLiteral(";"));
    DataExportASCII1->SetCSVQuote(QLatin1Char('"'));
    DataExportASCII1->SetCSVQuoteStrings(true);
    DataExportASCII1->SetAllowCaptions(true);
    DataExportASCII1->SetGoToFirstRecord(true);
    DataExportASCII1->SetCurrentRecordOnly(false);
    DataExportASCII1->SetShowFile(true);

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

void TForm2::FormShow() {
    const int height = int(m_configTable.FieldByName(QStringLiteral("Hojde_oversigt"))->AsInteger());
    const int width = int(m_configTable.FieldByName(QStringLiteral("Bredde_oversigt"))->AsInteger());
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
    if (!m_columns->Chosen() && m_programSettings) {
        m_columns->Restore(m_programSettings->Value(ColumnWidthsName));
    }
    m_columns->FitSoon();
}

void TForm2::SaveColumns() {
    const QString widths = m_columns->Saved();
    // Settings that cannot be written (a read-only data folder) keep the widths for this run only.
    if (!widths.isEmpty() && m_programSettings && !m_programSettings->IsReadOnly()) {
        m_programSettings->SetValue(ColumnWidthsName, widths);
    }
}

void TForm2::FormActivate() {
    m_habitraTable.SetFilterOff();
}

void TForm2::FormClose() {
    if (!m_configTable.CanModify()) {
        return; // a read-only settings table was said at start
    }
    m_configTable.Edit();
    m_configTable.FieldByName(QStringLiteral("Hojde_oversigt"))->SetAsInteger(height());
    m_configTable.FieldByName(QStringLiteral("Bredde_oversigt"))->SetAsInteger(width());
    m_configTable.Post();
    SaveColumns();
}

void TForm2::RadioButton1Click() {
    m_habitraTable.SetIndexName(QStringLiteral("IndexKategori"));
}

void TForm2::RadioButton2Click() {
    m_habitraTable.SetIndexName(QStringLiteral("IndexBeskrivelse"));
}

void TForm2::ComboBox1Change() {
    const QString text = ui->ComboBox1->currentText();
    // The first entry lists everything in every language, not only when it reads "Alle kategorier".
    if (text == AllCategories || ui->ComboBox1->ChosenIndex() == 0) {
        m_habitraTable.SetFilterOff();
        return;
    }
    m_habitraTable.SetFilterOn(QStringLiteral("Kategori"), text);
}

void TForm2::Edit1Change() {
    if (ui->RadioButton2->isChecked()) {
        EasyFind1->SetSearchField(QStringLiteral("Beskrivelse"));
    } else if (ui->RadioButton1->isChecked()) {
        EasyFind1->SetSearchField(QStringLiteral("Kategori"));
    }
    EasyFind1->SetSearchKey(ui->Edit1->text());
    EasyFind1->Find();
}

void TForm2::SpeedButton3Click() {
    EasyFind1->FindNext();
}

void TForm2::SpeedButton1Click() {
    if (OnPrint) {
        OnPrint();
        return;
    }
    PrintInventoryList(m_habitraTable, ui->ComboBox1->ListText(), m_habitraTable.FormatSettings());
}

void TForm2::SpeedButton2Click() {
    close();
}

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
    const TJump* jump = FindJump(value);
    if (!jump && DanishCategory) {
        const QString danish = DanishCategory(value);
        jump = danish.isEmpty() ? nullptr : FindJump(danish);
    }
    if (!jump) {
        return false;
    }
    page = QLatin1String(jump->Page);
    labels.clear();
    for (const char* label : jump->Labels) {
        labels << QString::fromUtf8(label);
    }
    return true;
}

void TForm2::DBGrid1DblClick() {
    const QString value = m_habitraTable.FieldByName(QStringLiteral("Kategori"))->AsString();
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
