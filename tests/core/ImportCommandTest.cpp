#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "import/ImportDialog.h"
#include "store/Table.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

// The main window's "Data import": from the menu through the file choice and the mapping dialog to the
// first imported item on its page.
class TImportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void MenuPlacesTheCommandAfterTheExport();
    void ImportsASpreadsheetFileAndShowsTheFirstItem();
    void CancelInTheMappingDialogWritesNothing();
    void DanishHeadingsAreKnownInEveryLanguage();
};

namespace {
// Runs `step` on the first modal window of type T that appears, once.
template <typename T> void OnModal(std::function<void(T&)> step) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            window && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            step(*window);
        }
    });
    timer->start(10);
}

void ChooseFile(const QString& path) {
    OnModal<QFileDialog>([path](QFileDialog& dialog) {
        QCOMPARE(dialog.objectName(), QStringLiteral("ImportFileDialog"));
        dialog.selectFile(path);
        static_cast<QDialog&>(dialog).accept();
    });
}

QString WriteFile(const TMainWindowFixture& fixture, const QByteArray& bytes) {
    const QString path = fixture.Folder.FilePath(QStringLiteral("liste.csv"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// As a spreadsheet saves a list with English headings: UTF-8, commas, decimal points, quotes where needed.
const QByteArray EnglishList = "Description,Author,Purchase date,Value,Category,Picture no.\n"
                               "\"Kongens Fald\",Johannes V. Jensen,12/31/2019,\"1,250.00\",Books,7\n"
                               "Harry Potter,J.K. Rowling,3/4/2020,99.5,Books,8\n"
                               "Lampe,,,12.5,Lamps,9\n";
} // namespace

void TImportCommandTest::MenuPlacesTheCommandAfterTheExport() {
    TMainWindowFixture fixture;
    TForm1& form = fixture.Start();
    QStringList names;
    for (QAction* action : form.Controls().Funktioner1->actions()) {
        names << action->objectName();
    }
    QCOMPARE(names.indexOf(QStringLiteral("Dataimport1")), names.indexOf(QStringLiteral("Dataeksport1")) + 1);
    QCOMPARE(form.Controls().Dataimport1->text(), QStringLiteral("Data import"));
    form.LanguageClick(3);
    QCOMPARE(form.Controls().Dataimport1->text(), QStringLiteral("Datenimport"));
}

void TImportCommandTest::ImportsASpreadsheetFileAndShowsTheFirstItem() {
    TMainWindowFixture fixture;
    TForm1& form = fixture.Start();
    form.LanguageClick(0);
    fixture.Answerer->Texts.clear();
    const QString path = WriteFile(fixture, EnglishList);
    ChooseFile(path);
    QStringList seen;
    OnModal<TImportDialog>([&seen](TImportDialog& dialog) {
        seen << dialog.windowTitle() << dialog.ImportButton->text() << dialog.SummaryLabel->text();
        for (int c = 0; c < 6; ++c) {
            seen << dialog.findChild<QComboBox*>(QStringLiteral("ColumnField%1").arg(c + 1))
                        ->currentData()
                        .toString();
        }
        seen << QString::number(dialog.SeparatorBox->currentIndex())
             << QString::number(dialog.DecimalBox->currentIndex())
             << QString::number(dialog.DateBox->currentIndex());
        seen << dialog.ProblemList->toPlainText();
        dialog.ImportButton->click();
    });
    form.Controls().Dataimport1->trigger();
    QCOMPARE(seen,
             (QStringList{"Data import", "Import",
                          "2 items will be imported, 0 are already there and will be skipped, 1 are refused.",
                          "Beskrivelse", "Fabrikat", "Kobsdato", "Vaerdi", "Kategori", "", "1", "1", "1",
                          "Line 4: \"Lamps\" is not one of the 21 categories"}));
    QTRY_COMPARE(fixture.Answerer->Count(), 1);
    QCOMPARE(
        fixture.Answerer->Texts.front(),
        QStringLiteral("2 items were imported.\n\r0 were already there and were skipped, 1 were refused."));
    // The first imported item, on the page of its category, with the picture number the counter handed out.
    QCOMPARE(form.Controls().PageControl1->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
    QCOMPARE(form.Register().HabitraTable().Filter(), QStringLiteral("Kategori = 'Books'"));
    QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
             QStringLiteral("Kongens Fald"));
    QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Vaerdi"))->AsMoney().Cents(),
             qint64(125000));
    QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Kobsdato"))->AsDate(),
             QDate(2019, 12, 31));
    QCOMPARE(form.Register().HabitraTable().FieldByName(QStringLiteral("Foto"))->AsInteger(), qint64(1));
    QCOMPARE(form.Controls().Label9->text(), QStringLiteral("Titel"));
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 2);
    QVERIFY(!form.Controls().Panel4->isVisible());
}

void TImportCommandTest::CancelInTheMappingDialogWritesNothing() {
    TMainWindowFixture fixture;
    TForm1& form = fixture.Start();
    fixture.Answerer->Texts.clear();
    ChooseFile(WriteFile(fixture, EnglishList));
    bool fixedOffered = false;
    OnModal<TImportDialog>([&](TImportDialog& dialog) {
        // A fixed category is offered as the pages' values in the active language, the shown page first
        // chosen.
        fixedOffered = dialog.CategoryBox->currentData().toString() == QStringLiteral("Antikviteter");
        dialog.CancelButton->click();
    });
    form.Controls().Dataimport1->trigger();
    QVERIFY(fixedOffered);
    QTest::qWait(50);
    QCOMPARE(fixture.Answerer->Count(), 0);
    form.Register().HabitraTable().SetFiltered(false);
    QCOMPARE(form.Register().HabitraTable().RecordCount(), 0);
    QCOMPARE(form.Register().RegTable().RecordCount(), 0);
}

HABITRA_TEST(TImportCommandTest)
#include "ImportCommandTest.moc"

void TImportCommandTest::DanishHeadingsAreKnownInEveryLanguage() {
    TMainWindowFixture fixture;
    TForm1& form = fixture.Start();
    form.LanguageClick(3);
    const QString path =
        WriteFile(fixture, "Beskrivelse;K\xF8\x62ssted;K\xF8\x62sdato;V\xE6rdi;Bem\xE6rkning;Kategori\r\n"
                           "Sofa;Ikea;31-12-2024;\"1.234,50\";Gr\xF8n;Diverse\r\n");
    ChooseFile(path);
    QStringList proposed;
    OnModal<TImportDialog>([&proposed](TImportDialog& dialog) {
        for (int c = 0; c < 6; ++c) {
            proposed << dialog.findChild<QComboBox*>(QStringLiteral("ColumnField%1").arg(c + 1))
                            ->currentData()
                            .toString();
        }
        dialog.reject();
    });
    form.Controls().Dataimport1->trigger();
    QTRY_COMPARE(proposed.size(), 6);
    QCOMPARE(proposed, (QStringList{"Beskrivelse", "Kobssted", "Kobsdato", "Vaerdi", "Notater", "Kategori"}));
}
