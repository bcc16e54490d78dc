#include "overview/InsuranceReport.h"
#include "ExifJpeg.h"
#include "ModalAnswerer.h"
#include "OverviewFixture.h"
#include "TestPlatform.h"
#include "TestRegistry.h"
#include "localisation/LanguageSource.h"
#include "localisation/TextCatalogue.h"
#include "overview/InsuranceDialog.h"
#include "overview/Unit2.h"
#include "overview/Unit3.h"
#include "pictures/JpegLoader.h"
#include "store/NumberFormat.h"
#include "store/ProgramSettings.h"
#include "toolkit/DBGrid.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

namespace {
// Items with values in øre (-1: no value), categories and pictures chosen per test.
struct TValued {
    const char* Beskrivelse;
    const char* Kategori;
    qint64 Cents;
};

void Fill(TOverviewFixture& fixture, const std::vector<TValued>& items) {
    TTable& table = fixture.HabitraTable;
    for (const TValued& item : items) {
        table.Append();
        table.FieldByName("Beskrivelse")->SetAsString(QString::fromUtf8(item.Beskrivelse));
        table.FieldByName("Kategori")->SetAsString(QString::fromUtf8(item.Kategori));
        table.FieldByName("Foto")->SetAsInteger(table.RecordCount() + 100);
        if (item.Cents >= 0) {
            table.FieldByName("Vaerdi")->SetAsMoney(TMoney::FromCents(item.Cents));
        }
        table.Post();
    }
}

QString Kr(qint64 cents) {
    return FormatNumber(QStringLiteral("Kr ###,##0.00"), TMoney::FromCents(cents), TFormatSettings::Danish());
}

QString PdfToText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A photo with a bright marker in its top-left quarter, to see which way it was printed.
QImage MarkedPhoto(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(40, 90, 160));
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 4, height / 4, QColor(250, 220, 20));
    return image;
}

TInsuranceOwner Owner() {
    return {QStringLiteral("Karen Ærø Hansen"), QStringLiteral("Strandvejen 12\n2900 Hellerup"),
            QStringLiteral("Tryg Forsikring"), QStringLiteral("POL-778899")};
}

QStringList AllTexts(const std::vector<TReportPage>& pages) {
    QStringList texts;
    for (const TReportPage& page : pages) {
        texts << page.Texts();
    }
    return texts;
}
} // namespace

// The insurance report: totals to the øre, the scope the user chose, photos decoded at print size and
// pictures that cannot be shown, the PDF as written, and runs that must leave nothing behind.
class TInsuranceReportTest : public QObject {
    Q_OBJECT

private slots:
    void totalsAreExactAndMatchTheListReport() {
        TOverviewFixture fixture(std::vector<TItem>{});
        Fill(fixture, {{"Sofa", "Møbler", 1234567},
                       {"Bord", "Møbler", 1},
                       {"Stol uden værdi", "Møbler", -1},
                       {"Ring", "Smykker/Ure", 999999999},
                       {"Ur", "Smykker/Ure", 10},
                       {"Bog", "Bøger", 0}});
        const std::vector<TInsuranceItem> items = ReadInsuranceScope(fixture.HabitraTable, QString());
        QCOMPARE(items.size(), size_t(6));
        const TInsuranceTotals totals = InsuranceTotals(items);
        QCOMPARE(totals.Count, 6);
        QCOMPARE(totals.Total, TMoney::FromCents(1234567 + 1 + 999999999 + 10));
        QCOMPARE(totals.Categories.size(), size_t(3));
        QCOMPARE(totals.Categories[0].Kategori, QStringLiteral("Bøger"));
        QCOMPARE(totals.Categories[1].Kategori, QStringLiteral("Møbler"));
        QCOMPARE(totals.Categories[1].Count, 3);
        QCOMPARE(totals.Categories[1].Sum, TMoney::FromCents(1234568));
        QCOMPARE(totals.Categories[2].Sum, TMoney::FromCents(1000000009));

        // The list report over the same items ends on the same grand total.
        fixture.HabitraTable.SetFiltered(false);
        const auto list = CreateInventoryList(fixture.HabitraTable, TListReport::NoCategoryChosen,
                                              TFormatSettings::Danish());
        const std::vector<TReportPage> listPages = list->Layout();
        const QString listTotal = listPages.back().Item(QStringLiteral("QRExpr1"))->Text;

        TInsuranceReport report(items, Owner(), TFormatSettings::Danish(),
                                TPictureFolder(fixture.Folder.PicturePath()));
        const std::vector<TReportPage>& pages = report.Pages();
        QCOMPARE(listTotal, Kr(1000000009 + 1234568));
        QVERIFY(pages[0].Texts().contains(listTotal)); // cover
        const QStringList summary = pages[1].Texts();
        QVERIFY(summary.contains(Kr(1234568)));
        QVERIFY(summary.contains(Kr(1000000009)));
        QVERIFY(summary.contains(Kr(0)));
        QCOMPARE(summary.count(listTotal), 1);
        // The item without a value says so instead of showing an amount.
        QVERIFY(AllTexts(pages).contains(QStringLiteral("ingen værdi angivet")));
    }

    void selectedScopeListsExactlyTheSelected() {
        TOverviewFixture fixture;
        TForm2& form = fixture.Form();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* grid = form.findChild<TDBGrid*>("DBGrid1");
        QVERIFY(grid);
        const auto click = [grid](int row, Qt::KeyboardModifiers modifiers) {
            const QRect cell = grid->visualRect(grid->model()->index(row, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
        };
        const auto descriptions = [&form] {
            QStringList found;
            for (const TInsuranceItem& item : form.SelectedItems()) {
                found << item.Beskrivelse;
            }
            return found;
        };
        click(1, Qt::NoModifier);
        QCOMPARE(fixture.HabitraTable.RecNo(), 2);
        click(4, Qt::ControlModifier);
        click(5, Qt::ControlModifier);
        QCOMPARE(fixture.HabitraTable.RecNo(), 6);
        QCOMPARE(descriptions(), (QStringList{"Gammel LAMPE", "Lampeskærm", "Trøje 100% uld"}));
        click(4, Qt::ControlModifier); // off again
        QCOMPARE(descriptions(), (QStringList{"Gammel LAMPE", "Trøje 100% uld"}));
        // A plain click on an item not selected chooses it alone and moves the current item, as before.
        click(0, Qt::NoModifier);
        QCOMPARE(descriptions(), QStringList{"Stol"});
        QCOMPARE(fixture.HabitraTable.RecNo(), 1);
        click(2, Qt::ShiftModifier);
        QCOMPARE(descriptions(), (QStringList{"Stol", "Gammel LAMPE", "ØRESTAD kort"}));

        // The dialog's selected scope reports these items and no other.
        click(0, Qt::ControlModifier);
        click(1, Qt::ControlModifier);
        click(3, Qt::ControlModifier);
        TProgramSettings settings;
        settings.Open(fixture.Folder.DataPath());
        TInsuranceDialog dialog({&fixture.HabitraTable, QStringLiteral("Bøger"), form.SelectedItems()},
                                settings, TFormatSettings::Danish(),
                                TPictureFolder(fixture.Folder.PicturePath()), nullptr);
        QCOMPARE(dialog.ScopeKind(), iskSelected);
        QStringList scoped;
        for (const TInsuranceItem& item : dialog.ScopeItems()) {
            scoped << item.Beskrivelse;
        }
        QCOMPARE(scoped, (QStringList{"ØRESTAD kort", "Bog om haver"}));
        dialog.SetScopeKind(iskCategory);
        QCOMPARE(dialog.ScopeItems().size(), size_t(2)); // the two books
        dialog.SetScopeKind(iskAll);
        QCOMPARE(dialog.ScopeItems().size(), size_t(6));
        // Reading a scope leaves the overview's table where it was.
        QCOMPARE(fixture.HabitraTable.RecNo(), 4);
        QVERIFY(!fixture.HabitraTable.Filtered());

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(form.SelectedRows().size(), size_t(6));
    }

    void picturesThatCannotBeShown_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("readable") << "readable";
        QTest::newRow("missing") << "missing";
        QTest::newRow("corrupt") << "corrupt";
        QTest::newRow("rotated") << "rotated";
    }
    void picturesThatCannotBeShown() {
        QFETCH(QString, kind);
        TOverviewFixture fixture({{"Maleri", "Kunstgenstande", ""}});
        const QString path = fixture.Folder.FilePath("Billeder/1.jpg");
        if (kind == QLatin1String("readable")) {
            SaveJpeg(MarkedPhoto(3200, 2400), path, 85);
        } else if (kind == QLatin1String("rotated")) {
            // Stored a quarter turn anticlockwise with orientation 6, as a phone held upright writes it.
            const QImage stored = MarkedPhoto(1600, 1200).transformed(QTransform().rotate(-90));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ExifJpeg::WithOrientation(EncodeJpeg(stored, path, 85), 6));
        } else if (kind == QLatin1String("corrupt")) {
            SaveJpeg(MarkedPhoto(800, 600), path, 85);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QByteArray whole = file.readAll();
            file.resize(0);
            file.write(whole.left(whole.size() / 2)); // cut off halfway
        }
        TInsuranceReport report(ReadInsuranceScope(fixture.HabitraTable, QString()), Owner(),
                                TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()));
        const QString pdf = fixture.Folder.FilePath("report.pdf");
        report.SaveToPdf(pdf);
        const QString text = PdfToText(pdf);
        QVERIFY2(!text.isEmpty(), "pdftotext gave nothing");
        QVERIFY(text.contains(QStringLiteral("Maleri"))); // the item is listed whatever its picture
        if (kind == QLatin1String("readable")) {
            QVERIFY(report.UnreadablePictures().isEmpty());
            // Decoded at print size, not at camera size: 3200 px shrinks by DCT scaling to 800 or less.
            const QImage photo = TInsuranceReport::LoadPhoto(path, TInsuranceReport::PhotoPixels());
            QVERIFY(photo.width() >= TInsuranceReport::PhotoPixels().width());
            QVERIFY(photo.width() <= 800);
            QProcess images;
            images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
            QVERIFY(images.waitForFinished(30000));
            const QStringList lines =
                QString::fromUtf8(images.readAllStandardOutput()).split(QLatin1Char('\n'));
            QVERIFY2(lines.size() >= 3 &&
                         lines[2].simplified().split(' ').value(3) == QString::number(photo.width()),
                     qPrintable(lines.join('\n')));
            // The marker of the top-left quarter is printed top-left: the photo is not turned.
            QCOMPARE(photo.pixelColor(photo.width() / 10, photo.height() / 10).red() > 200, true);
        } else if (kind == QLatin1String("rotated")) {
            QVERIFY(report.UnreadablePictures().isEmpty());
            const QImage photo = TInsuranceReport::LoadPhoto(path, TInsuranceReport::PhotoPixels());
            QVERIFY(photo.width() > photo.height()); // printed upright, the marker top-left
            QCOMPARE(photo.pixelColor(photo.width() / 10, photo.height() / 10).red() > 200, true);
            QCOMPARE(photo.pixelColor(photo.width() / 10, photo.height() * 9 / 10).red() > 200, false);
        } else if (kind == QLatin1String("missing")) {
            QVERIFY(text.contains(QStringLiteral("Intet billede: filen 1.jpg findes ikke")));
            QVERIFY(report.UnreadablePictures().isEmpty());
        } else {
            QVERIFY(text.contains(QStringLiteral("Billedet kan ikke læses")));
            QCOMPARE(report.UnreadablePictures().size(), 1);
            QVERIFY(report.UnreadablePictures().front().contains(QStringLiteral("1.jpg")));
        }
    }

    // The 4:3 box is 414 x 311 print pixels and the photo is printed whole inside it, so only the
    // side that meets the box needs its pixels.
    void photoDecodedAsLargeAsTheBoxNeeds_data() {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("landscape") << QSize(3200, 2400) << 1 << QSize(800, 600);
        // The height of 311 needs 2/8 (400 rows); the width alone would have asked for 3/8.
        QTest::newRow("portrait") << QSize(1200, 1600) << 1 << QSize(300, 400);
        QTest::newRow("portrait by orientation") << QSize(1600, 1200) << 6 << QSize(300, 400);
    }
    void photoDecodedAsLargeAsTheBoxNeeds() {
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(QSize, decoded);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ExifJpeg::WithOrientation(
            EncodeJpeg(MarkedPhoto(stored.width(), stored.height()), path, 85), orientation));
        file.close();
        QCOMPARE(TInsuranceReport::LoadPhoto(path, TInsuranceReport::PhotoPixels()).size(), decoded);
    }

    void pdfShowsOwnerTotalsAndEveryItem() {
        TOverviewFixture fixture(std::vector<TItem>{});
        std::vector<TValued> many;
        std::vector<QByteArray> names;
        for (int i = 0; i < 23; ++i) {
            names.push_back(QStringLiteral("Genstand nr. %1 med æøå").arg(i + 1).toUtf8());
        }
        for (int i = 0; i < 23; ++i) {
            many.push_back({names[size_t(i)].constData(), i % 2 ? "Møbler" : "Værktøj", 100050 + i});
        }
        Fill(fixture, many);
        TInsuranceReport report(ReadInsuranceScope(fixture.HabitraTable, QString()), Owner(),
                                TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()));
        report.SetDate(QDate(2026, 12, 10));
        const QString pdf = fixture.Folder.FilePath("report.pdf");
        int calls = 0;
        report.SaveToPdf(pdf, [&calls](int, int) {
            ++calls;
            return true;
        });
        QVERIFY(calls > 0);
        const int pages = int(report.Pages().size());
        QVERIFY(pages >= 8); // cover, summary, and at four items a page six more
        const QString text = PdfToText(pdf);
        for (const QString& needle :
             {QStringLiteral("Karen Ærø Hansen"), QStringLiteral("Strandvejen 12"),
              QStringLiteral("2900 Hellerup"), QStringLiteral("Tryg Forsikring"),
              QStringLiteral("POL-778899"), QStringLiteral("Udskrevet 10-12-2026"), Kr(23 * 100050 + 253),
              QStringLiteral("Side 1 af %1").arg(pages), QStringLiteral("Side %1 af %1").arg(pages)}) {
            QVERIFY2(text.contains(needle), qPrintable(needle));
        }
        for (const QByteArray& name : names) {
            QVERIFY2(text.contains(QString::fromUtf8(name)), name.constData());
        }
        QCOMPARE(text.count(QStringLiteral("Karen Ærø Hansen")), pages + 1); // every footer and the cover
    }

    void longNotesNeverRunOffThePage() {
        QString notes;
        for (int i = 0; i < 300; ++i) {
            notes += QStringLiteral("Linje %1 af noterne om denne genstand.\n").arg(i + 1);
        }
        TOverviewFixture fixture({{"Før", "Møbler", ""}, {"Lang", "Møbler", notes}, {"Efter", "Møbler", ""}});
        TInsuranceReport report(ReadInsuranceScope(fixture.HabitraTable, QString()), Owner(),
                                TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()));
        const std::vector<TReportPage>& pages = report.Pages();
        QCOMPARE(pages.size(),
                 size_t(5)); // cover, summary, then a page for the long block between the others
        for (const TReportPage& page : pages) {
            for (const TReportItem& item : page.Items) {
                // Everything stays within the paper's margin, and the blocks above the page footer.
                QVERIFY2(item.Rect.bottom() <= 297.0 - 10.0, qPrintable(item.Text.left(40)));
                if (item.Style->Name == QLatin1String("Notes")) {
                    QVERIFY2(item.Rect.bottom() <= 297.0 - 12.0 - 4.5, qPrintable(item.Text.left(40)));
                }
            }
        }
        QVERIFY(pages[3].Texts().contains(QStringLiteral("(notaterne er afkortet her)")));
        QVERIFY(pages[3].Texts().join('\n').contains(QStringLiteral("Linje 1 af noterne")));
    }

    void cancelAndFailingTargetsLeaveNoFile_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("cancelled") << "cancel";
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("folder not writable") << "readonly";
        QTest::newRow("disk full") << "full";
    }
    void cancelAndFailingTargetsLeaveNoFile() {
        QFETCH(QString, target);
        TOverviewFixture fixture;
        for (int foto = 1; foto <= 6; ++foto) {
            SaveJpeg(MarkedPhoto(1600, 1200),
                     fixture.Folder.FilePath(QStringLiteral("Billeder/%1.jpg").arg(foto)), 90);
        }
        TInsuranceReport report(ReadInsuranceScope(fixture.HabitraTable, QString()), Owner(),
                                TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()));
        QString folder = fixture.Folder.FilePath("out");
        QDir().mkpath(folder);
        bool mounted = false;
        if (target == QLatin1String("missing")) {
            folder = fixture.Folder.FilePath("no/such/folder");
        } else if (target == QLatin1String("readonly")) {
            folder = QStringLiteral("/proc"); // not writable, whoever runs the test
        } else if (target == QLatin1String("full")) {
            mounted = QProcess::execute(QStringLiteral("mount"),
                                        {"-t", "tmpfs", "-o", "size=16k", "tmpfs", folder}) == 0;
            if (!mounted) {
                QSKIP("A small file system for a full disk could not be mounted here");
            }
        }
        const auto unmount = qScopeGuard([&] {
            if (mounted) {
                QProcess::execute(QStringLiteral("umount"), {folder});
            }
        });
        const QString path = QDir(folder).filePath("rapport.pdf");
        if (target == QLatin1String("cancel")) {
            QFile older(path);
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write("older report");
            older.close();
            int seen = 0;
            QVERIFY_THROWS_EXCEPTION(EInsuranceReportCancelled,
                                     report.SaveToPdf(path, [&seen](int done, int) {
                                         seen = done;
                                         return done < 3;
                                     }));
            QCOMPARE(seen, 3); // stopped at the first refusal
            QFile kept(path);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("older report"));
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"rapport.pdf"});
            return;
        }
        try {
            report.SaveToPdf(path);
            QFAIL("the report claimed to be saved");
        } catch (const EInsuranceReportError& error) {
            QVERIFY2(error.Message().contains(target == QLatin1String("full") ? path : folder),
                     qPrintable(error.Message()));
        }
        QVERIFY(!QFileInfo::exists(path));
        if (target == QLatin1String("full")) {
            QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
        }
    }

    void ownerIsKeptAndEmptyScopeIsSaid() {
        TOverviewFixture fixture;
        {
            TProgramSettings settings;
            settings.Open(fixture.Folder.DataPath());
            TInsuranceDialog dialog({&fixture.HabitraTable, QString(), {}}, settings,
                                    TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()),
                                    nullptr);
            QVERIFY(!dialog.RadioButton2->isEnabled()); // no category page
            QVERIFY(!dialog.RadioButton3->isEnabled()); // nothing selected
            dialog.Edit1->setText(QStringLiteral("Karen Ærø Hansen"));
            dialog.Memo1->setPlainText(QStringLiteral("Strandvejen 12\n2900 Hellerup"));
            dialog.Edit3->setText(QStringLiteral("Tryg"));
            dialog.Edit4->setText(QStringLiteral("42"));
            dialog.SetScopeKind(iskSelected); // holds no item
            TTestPlatform& platform = TTestPlatform::Install();
            TModalAnswerer answerer;
            dialog.Button1Click();
            QCOMPARE(platform.Previews, 0);
            TTestPlatform::Uninstall();
            QCOMPARE(answerer.Count(), 1);
            QVERIFY(answerer.Texts.front().contains(QStringLiteral("ingen genstande")));
        }
        TProgramSettings reopened;
        reopened.Open(fixture.Folder.DataPath());
        QVERIFY(QFileInfo::exists(fixture.Folder.FilePath("Data/Indstillinger.DB")));
        QCOMPARE(TInsuranceOwner::Load(reopened),
                 (TInsuranceOwner{"Karen Ærø Hansen", "Strandvejen 12\n2900 Hellerup", "Tryg", "42"}));
        TInsuranceDialog again({&fixture.HabitraTable, QString(), {}}, reopened, TFormatSettings::Danish(),
                               TPictureFolder(fixture.Folder.PicturePath()), nullptr);
        QCOMPARE(again.Edit1->text(), QStringLiteral("Karen Ærø Hansen"));
        QCOMPARE(again.Memo1->toPlainText(), QStringLiteral("Strandvejen 12\n2900 Hellerup"));
    }

    void previewAndDialogInASecondLanguage() {
        TOverviewFixture fixture({{"Cykel", "Sportsudstyr", "Rød, 21 gear"}});
        QObject owner;
        TLanguageSource source(&owner);
        source.SetLanguages({QStringLiteral("English=") + fixture.Folder.FilePath("English.lng"),
                             QStringLiteral("Norsk=") + fixture.Folder.FilePath("Norsk.lng"),
                             QStringLiteral("Svensk=") + fixture.Folder.FilePath("Svensk.lng"),
                             QStringLiteral("Deutsch=") + fixture.Folder.FilePath("Deutsch.lng")});
        TTextCatalogue catalogue(&owner);
        catalogue.SetSource(&source);
        source.SetActiveLanguage(3);
        TProgramSettings settings;
        settings.Open(fixture.Folder.DataPath());
        TInsuranceDialog dialog({&fixture.HabitraTable, QStringLiteral("Sportsudstyr"), {}}, settings,
                                TFormatSettings::Danish(), TPictureFolder(fixture.Folder.PicturePath()),
                                &source);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Versicherungsbericht"));
        QCOMPARE(dialog.Button2->text(), QStringLiteral("Als PDF speichern..."));
        QCOMPARE(dialog.findChild<QLabel*>("LabelAllCount")->text(), QStringLiteral("1 Gegenstände"));

        source.SetActiveLanguage(0);
        QCOMPARE(dialog.RadioButton1->text(), QStringLiteral("All items"));
        dialog.Edit1->setText(QStringLiteral("John Smith"));
        TTestPlatform& platform = TTestPlatform::Install();
        platform.PdfPath = fixture.Folder.FilePath("preview.pdf");
        dialog.Button1Click();
        QCOMPARE(platform.Previews, 1);
        TTestPlatform::Uninstall();
        const QString text = PdfToText(fixture.Folder.FilePath("preview.pdf"));
        for (const QString& needle :
             {QStringLiteral("Insurance report"), QStringLiteral("Summary by category"),
              QStringLiteral("Page 3 of 3"), QStringLiteral("No picture: the file 1.jpg does not exist"),
              QStringLiteral("Rød, 21 gear"), QStringLiteral("John Smith")}) {
            QVERIFY2(text.contains(needle), qPrintable(needle + QStringLiteral(" in:\n") + text));
        }
        source.SetActiveLanguage(-1);
    }
};

HABITRA_TEST(TInsuranceReportTest)
#include "InsuranceReportTest.moc"
