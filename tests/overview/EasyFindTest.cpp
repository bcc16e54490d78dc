#include "overview/EasyFind.h"
#include "OverviewFixture.h"
#include "TestRegistry.h"

#include "store/Sqlite.h"

#include <QTest>

// The search component on its own, over the standard items in file order.
class TEasyFindTest : public QObject {
    Q_OBJECT

private slots:
    void findLandsOnFirstHit_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<bool>("wildcards");
        QTest::newRow("substring, not only a prefix") << "Beskrivelse"
                                                      << "lampe" << qint64(6) << qint64(2) << false;
        QTest::newRow("plain letters inside a text with æ") << "Beskrivelse"
                                                            << "PESK" << qint64(1) << qint64(5) << false;
        QTest::newRow("lower-case ø finds capital Ø") << "Beskrivelse"
                                                      << "øre" << qint64(1) << qint64(3) << false;
        QTest::newRow("a miss stays where it was") << "Beskrivelse"
                                                   << "xyz" << qint64(4) << qint64(4) << false;
        QTest::newRow("an empty text never matches") << "Beskrivelse"
                                                     << "" << qint64(5) << qint64(5) << false;
        QTest::newRow("field by label, case ignored") << "KATEGORI"
                                                      << "bøg" << qint64(1) << qint64(4) << false;
        QTest::newRow("unknown field: the first field") << "Nope"
                                                        << "stol" << qint64(6) << qint64(1) << false;
        QTest::newRow("memo content") << "Notater"
                                      << "NOTEN" << qint64(1) << qint64(4) << false;
        QTest::newRow("% is plain without wildcards") << "Beskrivelse"
                                                      << "0% u" << qint64(1) << qint64(6) << false;
        QTest::newRow("_ is plain without wildcards") << "Beskrivelse"
                                                      << "l_mpe" << qint64(1) << qint64(1) << false;
        QTest::newRow("wildcards match the whole text") << "Beskrivelse"
                                                        << "%lamp_" << qint64(1) << qint64(2) << true;
        QTest::newRow("wildcards: no run, no match") << "Beskrivelse"
                                                     << "lamp_" << qint64(3) << qint64(3) << true;
    }

    // Stored text is matched as its upper case, cut at 255 characters (a memo at 65280 bytes), however
    // the search reads the bytes.
    void textMatchesAsItsUpperCase_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("hit");
        const QString beskrivelse = QStringLiteral("Beskrivelse");
        const QString notater = QStringLiteral("Notater");
        QTest::newRow("ß is SS") << beskrivelse << QStringLiteral("Straße") << QStringLiteral("sse") << true;
        QTest::newRow("æ parts a run")
            << beskrivelse << QStringLiteral("Rygsæk") << QStringLiteral("gsk") << false;
        QTest::newRow("æ and ø around a hit")
            << beskrivelse << QStringLiteral("Kålhøvl") << QStringLiteral("LH") << true;
        QTest::newRow("key with æ") << beskrivelse << QStringLiteral("Rygsæk") << QStringLiteral("GSÆ")
                                    << true;
        QTest::newRow("ÿ is no Y") << beskrivelse << QStringLiteral("ÿx") << QStringLiteral("yx") << false;
        QTest::newRow("dotless ı is I")
            << beskrivelse << QStringLiteral("Dıvan") << QStringLiteral("div") << true;
        QTest::newRow("ligature ﬁ is FI")
            << beskrivelse << QStringLiteral("ﬁsk") << QStringLiteral("fis") << true;
        QTest::newRow("255 characters, more bytes")
            << beskrivelse << QString(200, QChar(0xe6)) + QStringLiteral("abc") << QStringLiteral("abc")
            << true;
        QTest::newRow("past 255 characters")
            << beskrivelse << QString(300, QChar(0xe6)) + QStringLiteral("abc") << QStringLiteral("abc")
            << false;
        QTest::newRow("memo up to the limit")
            << notater << QString(65276, QLatin1Char('a')) + QStringLiteral("æxyz") << QStringLiteral("æxy")
            << true;
        QTest::newRow("memo past the limit")
            << notater << QString(65276, QLatin1Char('a')) + QStringLiteral("æxyz") << QStringLiteral("xyz")
            << false;
    }

    void textMatchesAsItsUpperCase() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(bool, hit);
        const bool memo = field == QStringLiteral("Notater");
        TOverviewFixture fixture(
            {{"-", "Diverse", ""},
             {memo ? QStringLiteral("-") : text, QStringLiteral("Diverse"), memo ? text : QString()}});
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField(field);
        find.SetSearchKey(key);
        find.Find();
        QCOMPARE(find.Found(), hit);
        QCOMPARE(fixture.CurrentFoto(), hit ? qint64(2) : qint64(1));
    }

    void findLandsOnFirstHit() {
        QFETCH(QString, field);
        QFETCH(QString, key);
        QFETCH(qint64, start);
        QFETCH(qint64, expected);
        QFETCH(bool, wildcards);
        TOverviewFixture fixture;
        QVERIFY(fixture.GoToFoto(start));
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetAllowWildcards(wildcards);
        find.SetSearchField(field);
        find.SetSearchKey(key);
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), expected);
        QCOMPARE(find.Found(), expected != start);
    }

    void findFollowsTheCurrentOrder() {
        TOverviewFixture fixture;
        fixture.HabitraTable.SetIndexName("IndexBeskrivelse");
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        find.SetSearchKey("lampe");
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(2)); // "Gammel LAMPE" sorts before "Lampeskærm"
        fixture.HabitraTable.SetFilter("Kategori = 'Bøger'");
        fixture.HabitraTable.SetFiltered(true);
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
    }

    void findNextWalksTheHits() {
        TOverviewFixture fixture;
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        find.SetSearchKey("LAMPE");
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(2));
        // Text and field are remembered without regard to letter case.
        find.SetSearchKey("lampe");
        find.SetSearchField("beskrivelse");
        find.FindNext();
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        // The last hit stays current, with no error.
        find.FindNext();
        QCOMPARE(fixture.CurrentFoto(), qint64(5));
        QVERIFY(!find.Found());
        // A hit on the last record is found again from itself.
        find.SetSearchKey("uld");
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(6));
        find.FindNext();
        QCOMPARE(fixture.CurrentFoto(), qint64(6));
        QVERIFY(find.Found());
    }

    void findNextWithoutMatchingFind_data() {
        QTest::addColumn<QString>("findKey");
        QTest::addColumn<QString>("nextKey");
        QTest::addColumn<QString>("nextField");
        QTest::newRow("no Find at all") << QString() << "lampe"
                                        << "Beskrivelse";
        QTest::newRow("search text emptied") << "lampe"
                                             << ""
                                             << "Beskrivelse";
        QTest::newRow("search text changed") << "lampe"
                                             << "stol"
                                             << "Beskrivelse";
        QTest::newRow("search field changed") << "lampe"
                                              << "lampe"
                                              << "Kategori";
    }

    void findNextWithoutMatchingFind() {
        QFETCH(QString, findKey);
        QFETCH(QString, nextKey);
        QFETCH(QString, nextField);
        TOverviewFixture fixture;
        QVERIFY(fixture.GoToFoto(3));
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        if (!findKey.isEmpty()) {
            find.SetSearchKey(findKey);
            find.Find();
        }
        const qint64 before = fixture.CurrentFoto();
        find.SetSearchKey(nextKey);
        find.SetSearchField(nextField);
        try {
            find.FindNext();
            QFAIL("FindNext went ahead");
        } catch (const EDBSearchError& error) {
            QCOMPARE(error.Message(), QString("No initial Find/Locate done first"));
        }
        QCOMPARE(fixture.CurrentFoto(), before);
    }

    void boundControlsSeeOneChange() {
        TOverviewFixture fixture;
        int changes = 0;
        fixture.HabitraSource.OnDataChange = [&](TDataSource&, TField*) { ++changes; };
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        find.SetSearchKey("uld");
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(6));
        QCOMPARE(changes, 1);
        QVERIFY(!fixture.HabitraTable.ControlsDisabled());
        changes = 0;
        find.SetSearchKey("xyz");
        find.Find();
        QVERIFY(changes <= 1);
        QVERIFY(!fixture.HabitraTable.ControlsDisabled());
    }

    void pendingEditIsPostedFirst() {
        TOverviewFixture fixture;
        QVERIFY(fixture.GoToFoto(3));
        fixture.HabitraTable.Edit();
        fixture.HabitraTable.FieldByName("Beskrivelse")->SetAsString("Ny pude");
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        find.SetSearchKey("pude");
        find.Find();
        QCOMPARE(fixture.HabitraTable.State(), dsBrowse);
        QCOMPARE(fixture.CurrentFoto(), qint64(3));
        QVERIFY(find.Found());
    }

    // A search keeps the column's texts between keystrokes; whatever changes the set or a record in
    // it must be seen by the next keystroke.
    void keptTextsFollowChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("key");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("record edited") << "edit"
                                       << "pude" << qint64(3);
        QTest::newRow("record deleted before the hit") << "delete"
                                                       << "lampe" << qint64(2);
        QTest::newRow("record appended") << "append"
                                         << "pude" << qint64(0);
        QTest::newRow("file written over another connection") << "other"
                                                              << "pude" << qint64(4);
        QTest::newRow("filter on") << "filter"
                                   << "skærm" << qint64(5);
        QTest::newRow("order changed") << "order"
                                       << "skærm" << qint64(5);
    }

    void keptTextsFollowChanges() {
        QFETCH(QString, change);
        QFETCH(QString, key);
        QFETCH(qint64, expected);
        TOverviewFixture fixture;
        TTable& table = fixture.HabitraTable;
        TEasyFind find;
        find.SetDataSource(&fixture.HabitraSource);
        find.SetSearchField("Beskrivelse");
        // Kept texts made first, and their case rule: "pude" is in no record yet.
        find.SetSearchKey("pude");
        find.Find();
        QVERIFY(!find.Found());
        find.SetSearchKey("lampe");
        find.Find();
        QCOMPARE(fixture.CurrentFoto(), qint64(2));
        if (change == QStringLiteral("edit")) {
            QVERIFY(fixture.GoToFoto(3));
            table.Edit();
            table.FieldByName("Beskrivelse")->SetAsString("Ny pude");
            table.Post();
        } else if (change == QStringLiteral("delete")) {
            QVERIFY(fixture.GoToFoto(1));
            table.Delete();
        } else if (change == QStringLiteral("append")) {
            table.Append();
            table.FieldByName("Beskrivelse")->SetAsString("Stor PUDE");
            table.FieldByName("Kategori")->SetAsString("Diverse");
            table.Post();
        } else if (change == QStringLiteral("other")) {
            TSqliteDatabase other;
            other.Open(table.FilePath());
            other.Execute(QStringLiteral("UPDATE Habitra SET Beskrivelse = 'Pude' WHERE Foto = 4"));
        } else if (change == QStringLiteral("filter")) {
            table.SetFilter("Kategori = 'Bøger'");
            table.SetFiltered(true);
        } else if (change == QStringLiteral("order")) {
            table.SetIndexName("IndexBeskrivelse");
        }
        find.SetSearchKey(key);
        find.Find();
        QVERIFY(find.Found());
        if (expected > 0) {
            QCOMPARE(fixture.CurrentFoto(), expected);
        } else {
            QCOMPARE(table.FieldByName("Beskrivelse")->AsString(), QString("Stor PUDE"));
        }
    }
};

HABITRA_TEST(TEasyFindTest)
#include "EasyFindTest.moc"
