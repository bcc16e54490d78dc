#include "InsuranceDialog.h"

#include "InsuranceOwner.h"
#include "InsuranceReport.h"
#include "localisation/FormLocalizer.h"
#include "localisation/TextCatalogue.h"
#include "store/ProgramSettings.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ErrorDisplay.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {
using ErrorDisplay::Guarded;

// A modal progress window over a run: "Genstand n af m", Cancel stops it. Events are handled at
// every step, so the program's windows keep painting.
class TRunProgress {
public:
    explicit TRunProgress(QWidget* parent, int total)
        : m_dialog(LocalText("InsuranceProgress", "Forsikringsrapporten laves..."),
                   LocalText("InsuranceCancel", "Annuller"), 0, std::max(total, 1), parent) {
        m_dialog.setObjectName(QStringLiteral("InsuranceProgress"));
        m_dialog.setWindowTitle(LocalText("InsuranceTitle", "Forsikringsrapport"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(300);
        // Gone once the last item is done, before the preview opens or the run's messages show.
        m_dialog.setAutoClose(true);
        m_dialog.setAutoReset(true);
    }
    bool Step(int done, int total) {
        m_dialog.setLabelText(LocalText("InsuranceProgressItem", "Genstand %1 af %2").arg(done).arg(total));
        m_dialog.setValue(std::min(done, m_dialog.maximum()));
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }
    TInsuranceReport::TProgress Callback() {
        return [this](int done, int total) { return Step(done, total); };
    }

private:
    QProgressDialog m_dialog;
};
} // namespace

TInsuranceDialog::TInsuranceDialog(TInsuranceScope scope, TProgramSettings& settings,
                                   const TFormatSettings& format, const TPictureFolder& pictures,
                                   TCustomLanguageSource* languageSource, QWidget* parent)
    : QDialog(parent), m_scope(std::move(scope)), m_settings(settings), m_format(format),
      m_pictures(pictures) {
    setObjectName(QStringLiteral("InsuranceForm"));
    setWindowTitle(QStringLiteral("Forsikringsrapport"));
    CreateControls();
    CreateComponents(languageSource);
    ShowCounts();
}

TInsuranceDialog::~TInsuranceDialog() = default;

void TInsuranceDialog::CreateControls() {
    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    auto* owner = named(new QGroupBox(QStringLiteral("Ejerens oplysninger"), this), "GroupBox1");
    auto* form = new QFormLayout(owner);
    Edit1 = named(new QLineEdit(owner), "Edit1");
    Memo1 = named(new QPlainTextEdit(owner), "Memo1");
    Memo1->setTabChangesFocus(true);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 3 + 12);
    Edit3 = named(new QLineEdit(owner), "Edit3");
    Edit4 = named(new QLineEdit(owner), "Edit4");
    form->addRow(named(new QLabel(QStringLiteral("Navn"), owner), "Label1"), Edit1);
    form->addRow(named(new QLabel(QStringLiteral("Adresse"), owner), "Label2"), Memo1);
    form->addRow(named(new QLabel(QStringLiteral("Forsikringsselskab"), owner), "Label3"), Edit3);
    form->addRow(named(new QLabel(QStringLiteral("Policenummer"), owner), "Label4"), Edit4);

    auto* scope = named(new QGroupBox(QStringLiteral("Omfang"), this), "GroupBox2");
    auto* grid = new QGridLayout(scope);
    RadioButton1 = named(new QRadioButton(QStringLiteral("Alle genstande"), scope), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Den aktuelle kategori"), scope), "RadioButton2");
    RadioButton3 =
        named(new QRadioButton(QStringLiteral("De markerede genstande i oversigten"), scope), "RadioButton3");
    m_allCount = named(new QLabel(scope), "LabelAllCount");
    m_categoryCount = named(new QLabel(scope), "LabelCategoryCount");
    m_selectedCount = named(new QLabel(scope), "LabelSelectedCount");
    grid->addWidget(RadioButton1, 0, 0);
    grid->addWidget(m_allCount, 0, 1);
    grid->addWidget(RadioButton2, 1, 0);
    grid->addWidget(m_categoryCount, 1, 1);
    grid->addWidget(RadioButton3, 2, 0);
    grid->addWidget(m_selectedCount, 2, 1);
    grid->setColumnStretch(1, 1);
    RadioButton1->setChecked(true);
    RadioButton2->setEnabled(!m_scope.Category.isEmpty());
    RadioButton3->setEnabled(!m_scope.Selected.empty());
    // A handful of chosen items is what a claim after a burglary needs.
    if (m_scope.Selected.size() > 1) {
        RadioButton3->setChecked(true);
    }

    Button1 = named(new QPushButton(QStringLiteral("Vis udskrift"), this), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Gem som PDF..."), this), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("Luk"), this), "Button3");
    Button1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(owner);
    layout->addWidget(scope);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    const TInsuranceOwner kept = TInsuranceOwner::Load(m_settings);
    Edit1->setText(kept.Name);
    Memo1->setPlainText(kept.Address);
    Edit3->setText(kept.Insurer);
    Edit4->setText(kept.Policy);

    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TInsuranceDialog::CreateComponents(TCustomLanguageSource* languageSource) {
    FormLocalizer1 = new TFormLocalizer(this);
    FormLocalizer1->setObjectName(QStringLiteral("FormLocalizer1"));
    FormLocalizer1->SetPropNames({QStringLiteral("Caption"), QStringLiteral("Hint")});
    FormLocalizer1->SetSource(languageSource);
}

void TInsuranceDialog::ShowCounts() {
    const auto items = [](qsizetype count) { return LocalText("InsuranceItems", "%1 genstande").arg(count); };
    if (m_scope.Table) {
        m_allCount->setText(items(CountInsuranceScope(*m_scope.Table, QString())));
    }
    if (!m_scope.Category.isEmpty() && m_scope.Table) {
        m_categoryCount->setText(QStringLiteral("%1: %2").arg(
            m_scope.Category, items(CountInsuranceScope(*m_scope.Table, m_scope.Category))));
    }
    m_selectedCount->setText(items(qsizetype(m_scope.Selected.size())));
}

TInsuranceScopeKind TInsuranceDialog::ScopeKind() const {
    return RadioButton3->isChecked() ? iskSelected : RadioButton2->isChecked() ? iskCategory : iskAll;
}

void TInsuranceDialog::SetScopeKind(TInsuranceScopeKind kind) {
    (kind == iskSelected   ? RadioButton3
     : kind == iskCategory ? RadioButton2
                           : RadioButton1)
        ->setChecked(true);
}

std::vector<TInsuranceItem> TInsuranceDialog::ScopeItems() const {
    switch (ScopeKind()) {
    case iskSelected:
        return m_scope.Selected;
    case iskCategory:
        return m_scope.Table ? ReadInsuranceScope(*m_scope.Table, m_scope.Category)
                             : std::vector<TInsuranceItem>{};
    case iskAll:
        break;
    }
    return m_scope.Table ? ReadInsuranceScope(*m_scope.Table, QString()) : std::vector<TInsuranceItem>{};
}

QString TInsuranceDialog::ScopeText() const {
    switch (ScopeKind()) {
    case iskSelected:
        return LocalText("InsuranceScopeSelected", "Udvalgte genstande");
    case iskCategory:
        return LocalText("InsuranceScopeCategory", "Kategori: %1").arg(m_scope.Category);
    case iskAll:
        break;
    }
    return LocalText("InsuranceScopeAll", "Alle genstande");
}

std::unique_ptr<TInsuranceReport> TInsuranceDialog::MakeReport() {
    TInsuranceOwner owner;
    owner.Name = Edit1->text().trimmed();
    owner.Address = Memo1->toPlainText().trimmed();
    owner.Insurer = Edit3->text().trimmed();
    owner.Policy = Edit4->text().trimmed();
    if (!m_settings.IsReadOnly()) {
        owner.Save(m_settings);
    }
    std::vector<TInsuranceItem> items = ScopeItems();
    if (items.empty()) {
        Dialogs::MessageDlg(
            LocalText("InsuranceNoItems",
                      "Der er ingen genstande i det valgte omfang. Vælg et andet omfang, eller "
                      "markér genstandene i oversigten."),
            QMessageBox::Information, {Dialogs::mbOK});
        return nullptr;
    }
    auto report = std::make_unique<TInsuranceReport>(std::move(items), owner, m_format, m_pictures);
    report->SetScopeText(ScopeText());
    return report;
}

void TInsuranceDialog::ReportUnreadable(const TInsuranceReport& report) {
    const QStringList& unreadable = report.UnreadablePictures();
    if (unreadable.isEmpty()) {
        return;
    }
    QStringList shown = unreadable.mid(0, 10);
    if (unreadable.size() > shown.size()) {
        shown << QStringLiteral("...");
    }
    Dialogs::MessageDlg(LocalText("InsuranceUnreadable",
                                  "%1 billeder kunne ikke læses. Genstandene står i rapporten uden billede:")
                                .arg(unreadable.size()) +
                            QStringLiteral("\n\r\n\r") + shown.join(QStringLiteral("\n\r")),
                        QMessageBox::Warning, {Dialogs::mbOK});
}

void TInsuranceDialog::Button1Click() {
    const std::unique_ptr<TInsuranceReport> report = MakeReport();
    if (!report) {
        return;
    }
    TRunProgress progress(this, int(report->Items().size()));
    report->Preview(progress.Callback());
    ReportUnreadable(*report);
}

QString TInsuranceDialog::DefaultPdfPath() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(LocalText("InsuranceTitle", "Forsikringsrapport") + QStringLiteral(".pdf"));
}

void TInsuranceDialog::Button2Click() {
    const std::unique_ptr<TInsuranceReport> report = MakeReport();
    if (!report) {
        return;
    }
    QString path;
    if (AskPdfPath) {
        path = AskPdfPath();
    } else {
        QFileDialog dialog(this, LocalText("InsuranceSaveTitle", "Gem forsikringsrapporten som PDF"),
                           DefaultPdfPath(), QStringLiteral("PDF (*.pdf)"));
        dialog.setObjectName(QStringLiteral("SaveDialog1"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().front();
        }
    }
    if (path.isEmpty()) {
        return;
    }
    TRunProgress progress(this, int(report->Items().size()));
    try {
        report->SaveToPdf(path, progress.Callback());
    } catch (const EInsuranceReportCancelled&) {
        return; // nothing written, nothing to say
    }
    ReportUnreadable(*report);
    Dialogs::MessageDlg(LocalText("InsuranceSaved", "Forsikringsrapporten er gemt i %1").arg(path),
                        QMessageBox::Information, {Dialogs::mbOK});
}
