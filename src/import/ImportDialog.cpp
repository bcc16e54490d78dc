#include "ImportDialog.h"

#include "ImportSession.h"
#include "ImportWriter.h"

#include "localisation/FormLocalizer.h"
#include "localisation/LocalSource.h"
#include "localisation/TextCatalogue.h"
#include "store/ItemFields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {
const std::array<QChar, 3> Separators{QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')};
const std::array<TImportEncoding, 3> Encodings{ieUtf8, ieWindows1252, ieUtf16};

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The rows a line of the problem list names.
QString ProblemLine(const TImportRow& row) {
    return LocalText("Import.Line", "Linje %1: %2")
        .arg(row.Line)
        .arg(row.Problems.join(QStringLiteral("; ")));
}
} // namespace

TImportDialog::TImportDialog(TImportSession& session, const TImportSetup& setup, const QString& fileName,
                             QWidget* parent)
    : QDialog(parent), m_session(session), m_setup(setup) {
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(QStringLiteral("Data import"));
    setLayout(new QVBoxLayout);
    CreateReading(fileName);
    CreateCategory();
    CreatePreview();
    CreateOutcome();
    CreateButtons();
    CreateLocalizer();
    ShowReading();
    FillPreview();
    Check();
    Connect();
    resize(980, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TImportDialog::~TImportDialog() = default;

void TImportDialog::CreateReading(const QString& fileName) {
    auto* grid = new QGridLayout;
    grid->addWidget(NamedLabel("Label1", QStringLiteral("Fil"), this), 0, 0);
    auto* file = NamedLabel("FileLabel", QFileInfo(fileName).fileName(), this);
    file->setToolTip(fileName);
    grid->addWidget(file, 0, 1, 1, 3);
    const auto combo = [this](const char* name, const QStringList& items) {
        auto* box = Named(new QComboBox(this), name);
        box->addItems(items);
        return box;
    };
    EncodingBox =
        combo("EncodingBox", {TImportText::EncodingName(ieUtf8), TImportText::EncodingName(ieWindows1252),
                              TImportText::EncodingName(ieUtf16)});
    SeparatorBox = combo("SeparatorBox",
                         {LocalText("Import.Semicolon", "Semikolon ( ; )"),
                          LocalText("Import.Comma", "Komma ( , )"), LocalText("Import.Tab", "Tabulator")});
    DecimalBox = combo("DecimalBox", {LocalText("Import.DecimalComma", "Decimalkomma: 1.234,50"),
                                      LocalText("Import.DecimalPoint", "Decimalpunktum: 1,234.50")});
    DateBox = combo("DateBox", {LocalText("Import.DayMonthYear", "Dag-måned-år: 31-12-2024"),
                                LocalText("Import.MonthDayYear", "Måned-dag-år: 12-31-2024"),
                                LocalText("Import.YearMonthDay", "År-måned-dag: 2024-12-31")});
    grid->addWidget(NamedLabel("Label2", QStringLiteral("Tegnsæt"), this), 1, 0);
    grid->addWidget(EncodingBox, 1, 1);
    grid->addWidget(NamedLabel("Label3", QStringLiteral("Skilletegn"), this), 1, 2);
    grid->addWidget(SeparatorBox, 1, 3);
    grid->addWidget(NamedLabel("Label4", QStringLiteral("Beløb"), this), 2, 0);
    grid->addWidget(DecimalBox, 2, 1);
    grid->addWidget(NamedLabel("Label5", QStringLiteral("Datoer"), this), 2, 2);
    grid->addWidget(DateBox, 2, 3);
    HeadingsCheck =
        Named(new QCheckBox(QStringLiteral("Første linje er kolonnenavne"), this), "HeadingsCheck");
    grid->addWidget(HeadingsCheck, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void TImportDialog::CreateCategory() {
    auto* group = Named(new QGroupBox(QStringLiteral("Kategori"), this), "CategoryGroup");
    auto* row = new QHBoxLayout(group);
    CategoryColumnRadio =
        Named(new QRadioButton(QStringLiteral("Fra kolonnen Kategori"), group), "CategoryColumnRadio");
    CategoryFixedRadio = Named(new QRadioButton(QStringLiteral("Samme kategori for alle linjer:"), group),
                               "CategoryFixedRadio");
    CategoryBox = Named(new QComboBox(group), "CategoryBox");
    for (const TImportPage& page : m_setup.Pages) {
        CategoryBox->addItem(page.Caption, page.Value);
    }
    CategoryBox->setCurrentIndex(m_setup.ActivePage);
    row->addWidget(CategoryColumnRadio);
    row->addWidget(CategoryFixedRadio);
    row->addWidget(CategoryBox, 1);
    layout()->addWidget(group);
}

void TImportDialog::CreatePreview() {
    layout()->addWidget(NamedLabel(
        "Label6", QStringLiteral("Eksempel på de første linjer og feltet hver kolonne går til"), this));
    PreviewGrid = Named(new QTableWidget(this), "PreviewGrid");
    PreviewGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PreviewGrid->setSelectionMode(QAbstractItemView::NoSelection);
    PreviewGrid->setWordWrap(false);
    static_cast<QVBoxLayout*>(layout())->addWidget(PreviewGrid, 3);
}

void TImportDialog::CreateOutcome() {
    layout()->addWidget(NamedLabel("Label7", QStringLiteral("Problemer"), this));
    ProblemList = Named(new QPlainTextEdit(this), "ProblemList");
    ProblemList->setReadOnly(true);
    ProblemList->setLineWrapMode(QPlainTextEdit::NoWrap);
    static_cast<QVBoxLayout*>(layout())->addWidget(ProblemList, 2);
    SummaryLabel = Named(new QLabel(this), "SummaryLabel");
    layout()->addWidget(SummaryLabel);
    DuplicatesCheck =
        Named(new QCheckBox(QStringLiteral("Importér også linjer der allerede findes i registeret"), this),
              "DuplicatesCheck");
    layout()->addWidget(DuplicatesCheck);
}

void TImportDialog::CreateButtons() {
    auto* buttons = new QDialogButtonBox(this);
    ImportButton =
        Named(buttons->addButton(QStringLiteral("Importér"), QDialogButtonBox::AcceptRole), "ImportButton");
    ImportButton->setDefault(true);
    CancelButton =
        Named(buttons->addButton(QStringLiteral("Annuller"), QDialogButtonBox::RejectRole), "CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

void TImportDialog::CreateLocalizer() {
    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint")});
    FormLocalizer1->SetSource(m_setup.LanguageSource);
}

void TImportDialog::ShowReading() {
    m_filling = true;
    const auto encoding = std::find(Encodings.begin(), Encodings.end(), m_session.Encoding());
    EncodingBox->setCurrentIndex(int(encoding - Encodings.begin()));
    const auto separator = std::find(Separators.begin(), Separators.end(), m_session.Separator());
    SeparatorBox->setCurrentIndex(int(separator - Separators.begin()));
    const TImportMapping& mapping = m_session.Mapping();
    DecimalBox->setCurrentIndex(mapping.Conventions.Decimal == dcComma ? 0 : 1);
    DateBox->setCurrentIndex(int(mapping.Conventions.DateOrder));
    HeadingsCheck->setChecked(mapping.HasHeadings);
    const bool categoryColumn = mapping.ColumnFields.contains(ItemField::Kategori);
    CategoryColumnRadio->setChecked(categoryColumn);
    CategoryFixedRadio->setChecked(!categoryColumn);
    CategoryBox->setEnabled(!categoryColumn);
    m_session.SetFixedCategory(categoryColumn ? QString() : CategoryBox->currentData().toString());
    DuplicatesCheck->setChecked(mapping.ImportDuplicates);
    m_filling = false;
}

void TImportDialog::Connect() {
    const auto onIndex = [this](QComboBox* box, void (TImportDialog::*handler)()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, handler] {
            if (!m_filling) {
                (this->*handler)();
            }
        });
    };
    onIndex(EncodingBox, &TImportDialog::ReadingChanged);
    onIndex(SeparatorBox, &TImportDialog::ReadingChanged);
    onIndex(DecimalBox, &TImportDialog::ConventionsChanged);
    onIndex(DateBox, &TImportDialog::ConventionsChanged);
    onIndex(CategoryBox, &TImportDialog::CategoryChanged);
    connect(HeadingsCheck, &QCheckBox::toggled, this, [this] {
        if (!m_filling) {
            m_session.SetHasHeadings(HeadingsCheck->isChecked());
            ShowReading();
            FillPreview();
            Check();
        }
    });
    connect(CategoryFixedRadio, &QRadioButton::toggled, this, [this] { CategoryChanged(); });
    connect(DuplicatesCheck, &QCheckBox::toggled, this, [this] {
        m_session.SetImportDuplicates(DuplicatesCheck->isChecked());
        Check();
    });
}

void TImportDialog::ReadingChanged() {
    m_session.SetEncoding(Encodings[size_t(std::max(0, EncodingBox->currentIndex()))]);
    m_session.SetSeparator(Separators[size_t(std::max(0, SeparatorBox->currentIndex()))]);
    ShowReading();
    FillPreview();
    Check();
}

void TImportDialog::ConventionsChanged() {
    TImportConventions conventions;
    conventions.Decimal = DecimalBox->currentIndex() == 1 ? dcPoint : dcComma;
    conventions.DateOrder = TDateOrder(std::max(0, DateBox->currentIndex()));
    m_session.SetConventions(conventions);
    Check();
}

void TImportDialog::CategoryChanged() {
    if (m_filling) {
        return;
    }
    const bool fixed = CategoryFixedRadio->isChecked();
    CategoryBox->setEnabled(fixed);
    m_session.SetFixedCategory(fixed ? CategoryBox->currentData().toString() : QString());
    Check();
}

QString TImportDialog::FieldCaption(const QString& field) const {
    const QString label = m_setup.Labels.value(field);
    return label.isEmpty() || label == field ? field : QStringLiteral("%1 (%2)").arg(label, field);
}

void TImportDialog::FillPreview() {
    m_filling = true;
    const int columns = m_session.ColumnCount();
    const std::vector<TImportRecord>& records = m_session.Records();
    const QStringList headings = m_session.Headings();
    const size_t first = m_session.Mapping().HasHeadings ? 1 : 0;
    const int rows = int(std::min(records.size() - std::min(records.size(), first), size_t(PreviewRows)));
    PreviewGrid->clear();
    PreviewGrid->setColumnCount(columns);
    PreviewGrid->setRowCount(rows + 1);
    QStringList header;
    for (int c = 0; c < columns; ++c) {
        header << (c < headings.size() && !headings[c].trimmed().isEmpty()
                       ? headings[c]
                       : LocalText("Import.Column", "Kolonne %1").arg(c + 1));
    }
    PreviewGrid->setHorizontalHeaderLabels(header);
    QStringList lineNumbers{LocalText("Import.Field", "Felt")};
    m_columnBoxes.clear();
    for (int c = 0; c < columns; ++c) {
        auto* box = new QComboBox(PreviewGrid);
        box->setObjectName(QStringLiteral("ColumnField%1").arg(c + 1));
        box->addItem(LocalText("Import.Ignored", "(bruges ikke)"), QString());
        for (const TFieldDef& field : m_session.Validator().Fields()) {
            if (field.Name != ItemField::Foto) {
                box->addItem(FieldCaption(field.Name), field.Name);
            }
        }
        box->setCurrentIndex(std::max(0, box->findData(m_session.Mapping().ColumnFields.value(c))));
        connect(box, &QComboBox::currentIndexChanged, this, [this, c, box] {
            if (m_filling) {
                return;
            }
            m_session.SetColumnField(c, box->currentData().toString());
            m_filling = true;
            for (size_t other = 0; other < m_columnBoxes.size(); ++other) {
                m_columnBoxes[other]->setCurrentIndex(std::max(
                    0, m_columnBoxes[other]->findData(m_session.Mapping().ColumnFields.value(int(other)))));
            }
            m_filling = false;
            Check();
        });
        PreviewGrid->setCellWidget(0, c, box);
        m_columnBoxes.push_back(box);
    }
    for (int r = 0; r < rows; ++r) {
        const TImportRecord& record = records[first + size_t(r)];
        lineNumbers << QString::number(record.Line);
        for (int c = 0; c < columns && c < record.Cells.size(); ++c) {
            QString cell = record.Cells[c];
            cell.replace(QLatin1Char('\n'), QChar(0x21B5)).remove(QLatin1Char('\r'));
            PreviewGrid->setItem(r + 1, c, new QTableWidgetItem(cell));
        }
    }
    PreviewGrid->setVerticalHeaderLabels(lineNumbers);
    PreviewGrid->resizeColumnsToContents();
    for (int c = 0; c < columns; ++c) {
        PreviewGrid->setColumnWidth(c, std::clamp(PreviewGrid->columnWidth(c), 150, 320));
    }
    m_filling = false;
}

void TImportDialog::Check() {
    m_rows = m_session.Rows();
    const bool duplicates = m_session.Mapping().ImportDuplicates;
    int written = 0;
    int skipped = 0;
    int refused = 0;
    QStringList lines;
    for (const TImportRow& row : m_rows) {
        if (TImportWriter::IsWritten(row, duplicates)) {
            ++written;
        } else if (row.Status == irDuplicate) {
            ++skipped;
        } else {
            ++refused;
        }
        if (!row.Problems.isEmpty() && lines.size() < ListedProblems) {
            lines << ProblemLine(row);
        }
    }
    const int problems = refused + int(std::count_if(m_rows.begin(), m_rows.end(), [](const TImportRow& row) {
                             return row.Status == irDuplicate;
                         }));
    if (problems > int(lines.size())) {
        lines << LocalText("Import.MoreProblems", "... og %1 linjer mere").arg(problems - int(lines.size()));
    }
    if (lines.isEmpty()) {
        lines << LocalText("Import.NoProblems", "Ingen problemer: alle linjer kan importeres.");
    }
    ProblemList->setPlainText(lines.join(QLatin1Char('\n')));
    SummaryLabel->setText(
        LocalText("Import.Summary",
                  "%1 genstande importeres, %2 findes allerede og springes over, %3 afvises.")
            .arg(written)
            .arg(skipped)
            .arg(refused));
    ImportButton->setEnabled(written > 0);
}
