#include "ModalAnswerer.h"
#include "OverviewFixture.h"
#include "TestRegistry.h"
#include "export/DataExportASCII.h"
#include "localisation/FormLocalizer.h"
#include "overview/CategoryComboBox.h"
#include "overview/EasyFind.h"
#include "overview/Unit2.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/PropertyAdapter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
bool Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// The window's controls by name.
struct TControls {
    explicit TControls(const QWidget& form)
        : DBGrid1(form.findChild<TDBGrid*>("DBGrid1")),
          DBNavigator1(form.findChild<TDBNavigator*>("DBNavigator1")),
          RadioButton1(form.findChild<QRadioButton*>("RadioButton1")),
          RadioButton2(form.findChild<QRadioButton*>("RadioButton2")),
          ComboBox1(form.findChild<TCategoryComboBox*>("ComboBox1")),
          Edit1(form.findChild<QLineEdit*>("Edit1")),
          SpeedButton1(form.findChild<QToolButton*>("SpeedButton1")),
          SpeedButton2(form.findChild<QToolButton*>("SpeedButton2")),
          SpeedButton3(form.findChild<QToolButton*>("SpeedButton3")) {}
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    TCategoryComboBox* ComboBox1;
    QLineEdit* Edit1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
};

void Type(QWidget* widget, const QString& text) {
    widget->setFocus();
    QTest::keyClicks(widget, text);
}
} // namespace

// The overview window through its controls, on the standard items.
class TOverviewTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndGrid() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        const TControls ui(form);
        QCOMPARE(form.windowTitle(), QString("Oversigt"));
        QCOMPARE(form.objectName(), QString("Form2"));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.size(), QSize(1024, 768));
        QCOMPARE(form.font().pointSize(), 10);
        QCOMPARE(ui.DBGrid1->font().pointSize(), 8);
        QCOMPARE(ui.DBNavigator1->font().pointSize(), 8);
        QCOMPARE(int(ui.DBNavigator1->VisibleButtons().size()), 10);
        QVERIFY(ui.DBNavigator1->VisibleButtons().count(nbRefresh));
        QCOMPARE(fixture.Register.Exporter().DataSet(), &fixture.HabitraTable);
        QCOMPARE(fixture.Register.Exporter().objectName(), QString("DataExportASCII1"));
        QVERIFY(form.FormLocalizer1->PropNames().contains("Items"));

        QVERIFY(Activate(form));
        QStringList titles;
        for (int column = 0; column < ui.DBGrid1->model()->columnCount(); ++column) {
            titles << ui.DBGrid1->model()->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(titles, (QStringList{"Beskrivelse", "Fabrikat", "Model", "Identifikation", "Kobssted",
                                      "Kobsdato", "Vaerdi", "Notater", "Foto", "Kategori"}));
        // The grid fills the window above the two bottom panels.
        QCOMPARE(ui.DBGrid1->geometry().bottom() + 1 + 29 + 76, form.height());
        // "Print" and "Luk" keep to the right edge.
        const int right = ui.SpeedButton2->mapTo(&form, QPoint(0, 0)).x();
        QVERIFY(right > form.width() - 120);
        form.resize(form.width() + 100, form.height());
        QCOMPARE(ui.SpeedButton2->mapTo(&form, QPoint(0, 0)).x(), right + 100);
        // Grid row and current record are one.
        QVERIFY(fixture.GoToFoto(4));
        QCOMPARE(ui.DBGrid1->currentIndex().row(), 3);
        ui.DBGrid1->setCurrentIndex(ui.DBGrid1->model()->index(1, 2));
        QCOMPARE(fixture.CurrentFoto(), qint64(2));
    }

    void typingSearches_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("inside the text") << "lampe" << qint64(2);
        QTest::newRow("ø finds Ø") << "ø" << qint64(3);
        QTest::newRow("æ") << "ærm" << qint64(5);
        QTest::newRow("last item") << "uld" << qint64(6);
        QTest::newRow("nothing found stays on the first") << "zz" << qint64(1);
    }

    void typingSearches() {
        QFETCH(QString, typed);
        QFETCH(qint64, expected);
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        Type(TControls(form).Edit1, typed);
        QCOMPARE(fixture.CurrentFoto(), expected);
        QCOMPARE(TControls(form).DBGrid1->currentIndex().row(), fixture.HabitraTable.RecNo() - 1);
    }

    void searchFieldFollowsTheSortButtons() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        QTest::mouseClick(TControls(form).RadioButton1, Qt::LeftButton);
        Type(TControls(form).Edit1, "sko");
        QCOMPARE(fixture.CurrentFoto(), qint64(6)); // found in Kategori "Tøj/Sko"
        QCOMPARE(form.EasyFind1->SearchField(), QString("Kategori"));
    }

    void clearingAndFindNext() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        const TControls ui(form);
        QVERIFY(Activate(form));
        Type(ui.Edit1, "lampe");
        QCOMPARE(fixture.CurrentFoto(), qint64(2));
        QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        // On the last hit "Find næste" stays there, without a message.
        TModalAnswerer answerer;
        QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        QCOMPARE(answerer.Count(), 0);

        ui.Edit1->selectAll();
        QTest::keyClick(ui.Edit1, Qt::Key_Backspace);
        QVERIFY(ui.Edit1->text().isEmpty());
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        QTest::mouseClick(ui.SpeedButton3, Qt::LeftButton);
        QCOMPARE(answerer.Texts, QStringList{ErrorDisplay::Text("No initial Find/Locate done first")});
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
    }

    void categoryList() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        auto* combo = TControls(form).ComboBox1;
        QCOMPARE(combo->count(), 21);
        QCOMPARE(combo->itemText(0), QString("Alle kategorier"));
        QCOMPARE(combo->findText("Sportsudstyr"), -1);
        QCOMPARE(combo->maxVisibleItems(), 22);
        QVERIFY(combo->currentText().isEmpty());
        QCOMPARE(combo->lineEdit()->placeholderText(), QString("Vælg kategori"));
        QVERIFY(Activate(form));

        // A typed first letter completes to the entry and shows its items at once.
        Type(combo->lineEdit(), "b");
        QCOMPARE(combo->currentText(), QString("Bøger"));
        QVERIFY(fixture.HabitraTable.Filtered());
        QCOMPARE(fixture.HabitraTable.Filter(), QString("Kategori = 'Bøger'"));
        QCOMPARE(fixture.Fotos(), (std::vector<qint64>{4, 5}));
        QCOMPARE(fixture.HabitraTable.RecNo(), 1);

        // Text that begins no entry filters nothing.
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
        Type(combo->lineEdit(), "q");
        QCOMPARE(fixture.Fotos(), (std::vector<qint64>{4, 5}));

        combo->lineEdit()->selectAll();
        Type(combo->lineEdit(), "alle");
        QCOMPARE(combo->currentText(), QString("Alle kategorier"));
        QVERIFY(!fixture.HabitraTable.Filtered());
        QCOMPARE(fixture.HabitraTable.Filter(), QString("Kategori = 'Bøger'"));
        QCOMPARE(int(fixture.Fotos().size()), 6);

        // The arrow keys choose the next entry.
        QVERIFY(fixture.GoToFoto(4));
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QString("Antikviteter"));
        QCOMPARE(fixture.Fotos(), (std::vector<qint64>{1}));
    }

    void reopeningShowsEveryItem() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        auto* combo = TControls(form).ComboBox1;
        QVERIFY(Activate(form));
        Type(combo->lineEdit(), "b");
        QCOMPARE(int(fixture.Fotos().size()), 2);
        form.close();
        QVERIFY(!form.isVisible());
        QVERIFY(fixture.HabitraTable.Filtered()); // the main window keeps what the overview left
        QVERIFY(Activate(form));
        QVERIFY(!fixture.HabitraTable.Filtered());
        QCOMPARE(int(fixture.Fotos().size()), 6);
        QCOMPARE(combo->currentText(), QString("Bøger"));
    }

    void sorting() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        const TControls ui(form);
        QVERIFY(Activate(form));
        QVERIFY(ui.RadioButton2->isChecked());
        QVERIFY(fixture.GoToFoto(5));
        QTest::mouseClick(ui.RadioButton2, Qt::LeftButton);
        QCOMPARE(fixture.HabitraTable.IndexName(), QString());

        QTest::mouseClick(ui.RadioButton1, Qt::LeftButton);
        QCOMPARE(fixture.HabitraTable.IndexName(), QString("IndexKategori"));
        QCOMPARE(fixture.Fotos(), (std::vector<qint64>{1, 4, 5, 3, 2, 6}));
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        QCOMPARE(ui.DBGrid1->currentIndex().row(), fixture.HabitraTable.RecNo() - 1);
        QCOMPARE(ui.DBGrid1->model()->index(1, 9).data().toString(), QString("Bøger"));

        QTest::mouseClick(ui.RadioButton2, Qt::LeftButton);
        QCOMPARE(fixture.HabitraTable.IndexName(), QString("IndexBeskrivelse"));
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
    }

    void jump_data() {
        QTest::addColumn<QString>("kategori");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("labels");
        const QStringList music{"Titel", "Kunstner", "Musikforlag", "Identifikation"};
        const QStringList books{"Titel", "Forfatter", "Forlag", "ISBN nr."};
        QTest::newRow("Danish value") << "Musikmedier"
                                      << "TabSheet7" << music;
        QTest::newRow("English value") << "Music media"
                                       << "TabSheet7" << music;
        QTest::newRow("English books") << "Books"
                                       << "TabSheet2" << books;
        QTest::newRow("software labels")
            << "PC-Software"
            << "TabSheet11" << QStringList{"Beskrivelse", "Fabrikat", "Version", "Licensnummer"};
        QTest::newRow("photo page") << "Fotoudstyr"
                                    << "TabSheet21"
                                    << QStringList{"Beskrivelse", "Fabrikat", "Model", "Serienummer"};
        QTest::newRow("letter case counts") << "musikmedier" << QString() << QStringList();
    }

    void jump() {
        QFETCH(QString, kategori);
        QFETCH(QString, page);
        QFETCH(QStringList, labels);
        TOverviewFixture fixture({{"Andet", "Diverse", ""}, {"Vare", kategori, ""}});
        TForm2& form = fixture.Form();
        QStringList calls;
        form.OnJump = [&](const QString& toPage, const QStringList& toLabels) {
            calls << toPage + ":" + toLabels.join(',');
        };
        QVERIFY(Activate(form));
        auto* grid = TControls(form).DBGrid1;
        const QRect cell = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(calls, page.isEmpty() ? QStringList() : QStringList{page + ":" + labels.join(',')});
        QVERIFY(!form.isVisible());
        QCOMPARE(fixture.CurrentFoto(), qint64(2));
    }

    void windowSizeIsKept() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        QCOMPARE(form.size(), QSize(1024, 768));
        form.resize(800, 600);
        QTest::mouseClick(TControls(form).SpeedButton2, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(fixture.ConfigTable.State(), dsBrowse);
        QCOMPARE(fixture.ConfigTable.FieldByName("Hojde_oversigt")->AsInteger(), qint64(600));
        QCOMPARE(fixture.ConfigTable.FieldByName("Bredde_oversigt")->AsInteger(), qint64(800));
        form.resize(1024, 768);
        QVERIFY(Activate(form));
        QCOMPARE(form.size(), QSize(800, 600));
    }

    void activationSwitchesFilteringOff() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        QVERIFY(Activate(form));
        fixture.HabitraTable.SetFilter("Kategori = 'Bøger'");
        fixture.HabitraTable.SetFiltered(true);
        QVERIFY(fixture.GoToFoto(5));
        QWidget other;
        QVERIFY(Activate(other));
        QVERIFY(fixture.HabitraTable.Filtered());
        QVERIFY(Activate(form));
        QVERIFY(!fixture.HabitraTable.Filtered());
        QCOMPARE(fixture.HabitraTable.RecNo(), 1);
    }

    void showModalRunsUntilClosed() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        bool shownModal = false;
        QTimer::singleShot(0, &form, [&] {
            shownModal = form.isVisible() && QApplication::activeModalWidget() == &form;
            form.resize(900, 700);
            QTest::mouseClick(TControls(form).SpeedButton2, Qt::LeftButton);
        });
        form.ShowModal();
        QVERIFY(shownModal);
        QVERIFY(!form.isVisible());
        QCOMPARE(fixture.ConfigTable.FieldByName("Bredde_oversigt")->AsInteger(), qint64(900));
    }

    void printButtonCallsTheReport() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        int prints = 0;
        form.OnPrint = [&] { ++prints; };
        QVERIFY(Activate(form));
        QTest::mouseClick(TControls(form).SpeedButton1, Qt::LeftButton);
        QCOMPARE(prints, 1);
        QVERIFY(form.isVisible());
    }

    void localisableTexts() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        auto* combo = TControls(form).ComboBox1;
        const QStringList items = PropertyAdapter::Lines(combo, "Items");
        QCOMPARE(items.size(), 21);
        QCOMPARE(items.at(2), QString("Bøger"));
        QCOMPARE(PropertyAdapter::Text(TControls(form).DBGrid1, "Hint"),
                 QString("Dobbeltklik for redigering af denne registrering"));
        QCOMPARE(PropertyAdapter::Text(TControls(form).SpeedButton3, "Hint"), QString("Find næste"));
        QCOMPARE(PropertyAdapter::Text(&form, "Caption"), QString("Oversigt"));
    }
};

HABITRA_TEST(TOverviewTest)
#include "OverviewTest.moc"
