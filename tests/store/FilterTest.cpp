#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Error.h"
#include "store/FilterParser.h"
#include "store/Schema.h"

#include <QTest>

using TFotos = QList<qint64>;
Q_DECLARE_METATYPE(TFotos)
Q_DECLARE_METATYPE(TFieldFilter)

// Filter and Filtered with the effects the windows rely on, the filter language, and the orders.
class TFilterTest : public QObject {
    Q_OBJECT
private slots:
    void Matches_data();
    void Matches();
    void FieldFilterMatches_data();
    void FieldFilterMatches();
    void FilterChangeNotifiesOnce_data();
    void FilterChangeNotifiesOnce();
    void RejectedFilterKeepsPrevious_data();
    void RejectedFilterKeepsPrevious();
    void NewTextAppliesOnlyWhileFiltering();
    void FilterChangesMoveToFirst_data();
    void FilterChangesMoveToFirst();
    void PendingEditIsCompleted_data();
    void PendingEditIsCompleted();
    void PostedChangeLeavesFilteredSet();
    void IndexChangeKeepsCurrent_data();
    void IndexChangeKeepsCurrent();
    void IndexesAreInTheFile();
    void UnknownIndexIsRejected();
};

void TFilterTest::Matches_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<TFotos>("fotos");
    QTest::newRow("one category") << QStringLiteral("Kategori = 'Møbler'") << TFotos{1, 3, 6};
    QTest::newRow("letter case counts") << QStringLiteral("Kategori = 'møbler'") << TFotos{5};
    QTest::newRow("whole value only") << QStringLiteral("Kategori = 'Møb'") << TFotos{};
    QTest::newRow("and") << QStringLiteral("Kategori = 'Bøger' and Beskrivelse = 'Zebra'") << TFotos{7};
    QTest::newRow("doubled quote") << QStringLiteral("Kategori = 'Møbler' and Beskrivelse = 'Kid''s bike'")
                                   << TFotos{6};
    QTest::newRow("FilterEquals") << FilterEquals(QStringLiteral("Beskrivelse"), QStringLiteral("Kid's bike"))
                                  << TFotos{4, 6};
    QTest::newRow("or") << QStringLiteral("Kategori = 'Bøger' or Kategori = 'Antikviteter'")
                        << TFotos{2, 4, 7};
    QTest::newRow("and binds first")
        << QStringLiteral("Kategori = 'Bøger' or Kategori = 'Antikviteter' and Beskrivelse = 'Zebra'")
        << TFotos{2, 7};
    QTest::newRow("parentheses")
        << QStringLiteral("(Kategori = 'Bøger' or Kategori = 'Antikviteter') and Beskrivelse = 'Zebra'")
        << TFotos{7};
    QTest::newRow("not") << QStringLiteral("not (Kategori = 'Møbler')") << TFotos{2, 4, 5, 7};
    QTest::newRow("keywords in any case")
        << QStringLiteral("Kategori = 'Bøger' AND Beskrivelse <> 'Atlas'") << TFotos{7};
    QTest::newRow("number") << QStringLiteral("Foto >= 6") << TFotos{6, 7};
    QTest::newRow("quote cannot escape")
        << FilterEquals(QStringLiteral("Kategori"), QStringLiteral("x' or 'a'='a")) << TFotos{};
    QTest::newRow("empty filter") << QString() << TFotos{1, 2, 3, 4, 5, 6, 7};
}

void TFilterTest::Matches() {
    QFETCH(QString, filter);
    QFETCH(TFotos, fotos);
    TItemTableFixture fixture;
    fixture.Table.SetFilter(filter);
    fixture.Table.SetFiltered(true);
    QCOMPARE(fixture.VisibleFotos(), fotos);
    QCOMPARE(fixture.Table.RecordCount(), fotos.size());
    QCOMPARE(fixture.Table.Eof(), fotos.isEmpty());
}

namespace {
// Values a typed filter would have to quote or escape, and values that only look alike.
std::vector<TSeedItem> AwkwardItems() {
    return {
        {1, QStringLiteral("Møbler"), QStringLiteral("Kid's bike")},
        {2, QStringLiteral("Møbler"), QStringLiteral("50% rabat")},
        {3, QStringLiteral("Bøger"), QStringLiteral("50_ rabat")},
        {4, QStringLiteral("Bøger"), QStringLiteral("C:\\Billeder\\")},
        {5, QStringLiteral("Bøger"), QStringLiteral("\"Tommy\" (1975)")},
        {6, QStringLiteral("x' or 'a'='a"), QStringLiteral("Kid''s bike")},
        {7, QStringLiteral("Møbler"), QStringLiteral("kid's bike")},
    };
}
} // namespace

void TFilterTest::FieldFilterMatches_data() {
    QTest::addColumn<TFieldFilter>("filter");
    QTest::addColumn<TFotos>("fotos");
    const QString kategori = QStringLiteral("Kategori");
    const QString beskrivelse = QStringLiteral("Beskrivelse");
    QTest::newRow("quote") << TFieldFilter(beskrivelse, QStringLiteral("Kid's bike")) << TFotos{1};
    QTest::newRow("doubled quote is two quotes")
        << TFieldFilter(beskrivelse, QStringLiteral("Kid''s bike")) << TFotos{6};
    QTest::newRow("percent is no wildcard")
        << TFieldFilter(beskrivelse, QStringLiteral("50% rabat")) << TFotos{2};
    QTest::newRow("underscore is no wildcard")
        << TFieldFilter(beskrivelse, QStringLiteral("50_ rabat")) << TFotos{3};
    QTest::newRow("backslashes") << TFieldFilter(beskrivelse, QStringLiteral("C:\\Billeder\\")) << TFotos{4};
    QTest::newRow("double quotes and parentheses")
        << TFieldFilter(beskrivelse, QStringLiteral("\"Tommy\" (1975)")) << TFotos{5};
    QTest::newRow("quote cannot escape")
        << TFieldFilter(kategori, QStringLiteral("x' or 'a'='a")) << TFotos{6};
    QTest::newRow("two fields")
        << TFieldFilter(kategori, QStringLiteral("Møbler")).And(beskrivelse, QStringLiteral("Kid's bike"))
        << TFotos{1};
    QTest::newRow("two fields, none both")
        << TFieldFilter(kategori, QStringLiteral("Bøger")).And(beskrivelse, QStringLiteral("Kid's bike"))
        << TFotos{};
    QTest::newRow("field name in any case")
        << TFieldFilter(QStringLiteral("kategori"), QStringLiteral("Bøger")) << TFotos{3, 4, 5};
}

void TFilterTest::FieldFilterMatches() {
    QFETCH(TFieldFilter, filter);
    QFETCH(TFotos, fotos);
    TItemTableFixture fixture(AwkwardItems());
    fixture.Table.SetFilterOn(filter);
    QVERIFY(fixture.Table.Filtered());
    QCOMPARE(fixture.VisibleFotos(), fotos);
    QCOMPARE(fixture.Table.Eof(), fotos.isEmpty());
    // Its text reads back as the same filter, for those who keep and restore the filter text.
    const QString text = fixture.Table.Filter();
    fixture.Table.SetFilterOff();
    QCOMPARE(fixture.Table.RecordCount(), 7);
    fixture.Table.SetFilter(text);
    fixture.Table.SetFiltered(true);
    QCOMPARE(fixture.VisibleFotos(), fotos);
}

enum TFilterStep { fsOnFromOff, fsOtherValue, fsSameValue, fsOff, fsOffAgain, fsUnknownField };
Q_DECLARE_METATYPE(TFilterStep)

void TFilterTest::FilterChangeNotifiesOnce_data() {
    QTest::addColumn<TFilterStep>("step");
    QTest::addColumn<TFotos>("fotos");
    QTest::addColumn<int>("notifications");
    QTest::newRow("on from off") << fsOnFromOff << TFotos{2, 7} << 1;
    QTest::newRow("other value while on") << fsOtherValue << TFotos{2, 7} << 1;
    QTest::newRow("same value again") << fsSameValue << TFotos{1, 3, 6} << 1;
    QTest::newRow("off") << fsOff << TFotos{1, 2, 3, 4, 5, 6, 7} << 1;
    QTest::newRow("off while off") << fsOffAgain << TFotos{1, 2, 3, 4, 5, 6, 7} << 1;
    QTest::newRow("unknown field is refused") << fsUnknownField << TFotos{1, 3, 6} << 0;
}

void TFilterTest::FilterChangeNotifiesOnce() {
    QFETCH(TFilterStep, step);
    QFETCH(TFotos, fotos);
    QFETCH(int, notifications);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    if (step != fsOnFromOff && step != fsOffAgain) {
        table.SetFilterOn(QStringLiteral("Kategori"), QStringLiteral("Møbler"));
    }
    table.Last();
    TCountingLink link;
    link.SetDataSource(&fixture.Source);
    const int before = link.Total();
    int dataChanges = 0;
    fixture.Source.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };

    switch (step) {
    case fsOnFromOff:
    case fsOtherValue:
        table.SetFilterOn(QStringLiteral("Kategori"), QStringLiteral("Bøger"));
        break;
    case fsSameValue:
        table.SetFilterOn(QStringLiteral("Kategori"), QStringLiteral("Møbler"));
        break;
    case fsOff:
    case fsOffAgain:
        table.SetFilterOff();
        break;
    case fsUnknownField:
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 table.SetFilterOn(QStringLiteral("Pris"), QStringLiteral("12")));
        QCOMPARE(table.Filter(), QStringLiteral("Kategori = 'Møbler'"));
        break;
    }
    QCOMPARE(fixture.VisibleFotos(), fotos);
    QCOMPARE(link.DataSetChanges, notifications);
    QCOMPARE(link.Total(), before + notifications);
    QCOMPARE(dataChanges, notifications);
    if (notifications > 0) {
        QCOMPARE(table.RecNo(), 1); // the set's first record is current
        QVERIFY(table.Bof());
    }
}

void TFilterTest::RejectedFilterKeepsPrevious_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("filtering");
    QTest::newRow("unescaped quote") << QStringLiteral("Kategori = 'Kid's bike'") << true;
    QTest::newRow("unescaped quote, filtering off") << QStringLiteral("Kategori = 'Kid's bike'") << false;
    QTest::newRow("unterminated text") << QStringLiteral("Kategori = 'Bøger") << true;
    QTest::newRow("missing value") << QStringLiteral("Kategori =") << true;
    QTest::newRow("missing operator") << QStringLiteral("Kategori 'Bøger'") << true;
    QTest::newRow("unclosed parenthesis") << QStringLiteral("(Kategori = 'Bøger'") << true;
    QTest::newRow("dangling and") << QStringLiteral("Kategori = 'Bøger' and") << true;
    QTest::newRow("unknown field") << QStringLiteral("Pris = '12'") << true;
    QTest::newRow("unknown field, filtering off") << QStringLiteral("Pris = '12'") << false;
    QTest::newRow("text for a number") << QStringLiteral("Foto = 'tolv'") << true;
    QTest::newRow("stray character") << QStringLiteral("Kategori = 'Bøger' ; drop") << true;
}

void TFilterTest::RejectedFilterKeepsPrevious() {
    QFETCH(QString, filter);
    QFETCH(bool, filtering);
    TItemTableFixture fixture;
    const QString previous = QStringLiteral("Kategori = 'Møbler'");
    fixture.Table.SetFilter(previous);
    fixture.Table.SetFiltered(filtering);
    fixture.Table.Next();
    const TFotos shown = fixture.VisibleFotos();
    const qint64 current = fixture.CurrentFoto();

    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Table.SetFilter(filter));
    QCOMPARE(fixture.Table.Filter(), previous);
    QCOMPARE(fixture.Table.Filtered(), filtering);
    QCOMPARE(fixture.VisibleFotos(), shown);
    QCOMPARE(fixture.CurrentFoto(), current);

    // The previous filter is still the one that takes effect.
    fixture.Table.SetFiltered(true);
    QCOMPARE(fixture.VisibleFotos(), (TFotos{1, 3, 6}));
}

void TFilterTest::NewTextAppliesOnlyWhileFiltering() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
    QCOMPARE(table.RecordCount(), 7); // filtering is off: only stored
    table.SetFiltered(true);
    QCOMPARE(fixture.VisibleFotos(), (TFotos{2, 7}));
    table.SetFilter(QStringLiteral("Kategori = 'Antikviteter'")); // on: applied at once
    QCOMPARE(fixture.VisibleFotos(), TFotos{4});
    table.SetFiltered(false);
    QCOMPARE(table.RecordCount(), 7);
    QCOMPARE(table.Filter(), QStringLiteral("Kategori = 'Antikviteter'"));
}

enum TFilterAction { faFilterWhileOn, faSwitchOn, faSwitchOnAgain, faSwitchOff, faSwitchOffAgain };
Q_DECLARE_METATYPE(TFilterAction)

void TFilterTest::FilterChangesMoveToFirst_data() {
    QTest::addColumn<TFilterAction>("action");
    QTest::addColumn<qint64>("first");
    QTest::newRow("new text while on") << faFilterWhileOn << qint64(2);
    QTest::newRow("switch on") << faSwitchOn << qint64(1);
    QTest::newRow("switch on when on") << faSwitchOnAgain << qint64(1);
    QTest::newRow("switch off") << faSwitchOff << qint64(1);
    QTest::newRow("switch off when off") << faSwitchOffAgain << qint64(1);
}

void TFilterTest::FilterChangesMoveToFirst() {
    QFETCH(TFilterAction, action);
    QFETCH(qint64, first);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
    const bool startOn = action == faFilterWhileOn || action == faSwitchOnAgain || action == faSwitchOff;
    table.SetFiltered(startOn);
    table.Last();
    QVERIFY(fixture.CurrentFoto() != first);
    TCountingLink link;
    link.SetDataSource(&fixture.Source);
    switch (action) {
    case faFilterWhileOn:
        table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
        break;
    case faSwitchOn:
    case faSwitchOnAgain:
        table.SetFiltered(true);
        break;
    case faSwitchOff:
    case faSwitchOffAgain:
        table.SetFiltered(false);
        break;
    }
    QCOMPARE(fixture.CurrentFoto(), first);
    QCOMPARE(table.RecNo(), 1);
    QVERIFY(!table.Eof());
    QVERIFY(link.DataSetChanges > 0);
}

enum TChange { chFilter, chFiltered, chIndex };
Q_DECLARE_METATYPE(TChange)

void TFilterTest::PendingEditIsCompleted_data() {
    QTest::addColumn<TChange>("change");
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<bool>("modified");
    for (const auto& [change, name] :
         {std::pair{chFilter, "filter"}, std::pair{chFiltered, "switch"}, std::pair{chIndex, "index"}}) {
        QTest::addRow("%s, edited", name) << change << false << true;
        QTest::addRow("%s, edit unchanged", name) << change << false << false;
        QTest::addRow("%s, inserted", name) << change << true << true;
        QTest::addRow("%s, insert unchanged", name) << change << true << false;
    }
}

void TFilterTest::PendingEditIsCompleted() {
    QFETCH(TChange, change);
    QFETCH(bool, inserting);
    QFETCH(bool, modified);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    inserting ? table.Insert() : table.Edit();
    if (modified) {
        table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Ændret"));
    }
    switch (change) {
    case chFilter:
        table.SetFilter(QStringLiteral("Foto <> 3"));
        break;
    case chFiltered:
        table.SetFiltered(true);
        break;
    case chIndex:
        table.SetIndexName(Schema::IndexKategori);
        break;
    }
    QCOMPARE(table.State(), dsBrowse);
    const QStringList stored = fixture.StoredDescriptions();
    QCOMPARE(stored.size(), inserting && modified ? 8 : 7);
    QCOMPARE(stored.contains(QStringLiteral("Ændret")), modified);
    QCOMPARE(stored.first(), inserting || !modified ? QStringLiteral("Stol") : QStringLiteral("Ændret"));
    QCOMPARE(table.RecordCount(), inserting && modified ? 8 : 7);
}

void TFilterTest::PostedChangeLeavesFilteredSet() {
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
    table.SetFiltered(true);
    table.Next(); // Foto 3
    table.Edit();
    table.FieldByName(QStringLiteral("Kategori"))->SetAsString(QStringLiteral("Bøger"));
    table.Post();
    QCOMPARE(fixture.VisibleFotos(), (TFotos{1, 6}));
    QCOMPARE(table.State(), dsBrowse);
}

void TFilterTest::IndexChangeKeepsCurrent_data() {
    QTest::addColumn<QString>("index");
    QTest::addColumn<bool>("filtered");
    QTest::addColumn<TFotos>("order");
    QTest::newRow("IndexKategori") << Schema::IndexKategori << false << TFotos{4, 2, 7, 1, 3, 6, 5};
    QTest::newRow("IndexBeskrivelse") << Schema::IndexBeskrivelse << false << TFotos{2, 3, 4, 6, 5, 1, 7};
    QTest::newRow("IndexBeskrivelse, filtered") << Schema::IndexBeskrivelse << true << TFotos{3, 6, 1};
}

void TFilterTest::IndexChangeKeepsCurrent() {
    QFETCH(QString, index);
    QFETCH(bool, filtered);
    QFETCH(TFotos, order);
    for (const qint64 start : order) {
        TItemTableFixture fixture;
        TTable& table = fixture.Table;
        table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
        table.SetFiltered(filtered);
        while (fixture.CurrentFoto() != start) {
            table.Next();
        }
        TCountingLink link;
        link.SetDataSource(&fixture.Source);
        table.SetIndexName(index);
        QCOMPARE(table.IndexName(), index);
        QCOMPARE(fixture.VisibleFotos(), order);
        QCOMPARE(fixture.CurrentFoto(), start);
        QCOMPARE(table.RecNo(), order.indexOf(start) + 1);
        QVERIFY(link.DataSetChanges > 0);
        // Walking on from there follows the new order.
        table.Next();
        QCOMPARE(fixture.CurrentFoto(),
                 order.at(std::min(int(order.indexOf(start)) + 1, int(order.size()) - 1)));
    }
}

void TFilterTest::IndexesAreInTheFile() {
    TItemTableFixture fixture;
    QCOMPARE(QueryFile(fixture.ItemPath(),
                       QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                      "tbl_name = 'Habitra' ORDER BY name")),
             (QStringList{Schema::IndexBeskrivelse, Schema::IndexKategori}));
    // The engine answers a category filter and both orders from them, without sorting the table.
    const auto plan = [&](const QString& sql) {
        return QueryFile(fixture.ItemPath(), QStringLiteral("EXPLAIN QUERY PLAN ") + sql)
            .join(QLatin1Char('\n'));
    };
    const QString byKategori =
        plan(QStringLiteral("SELECT rowid FROM Habitra WHERE Kategori = 'x' ORDER BY rowid"));
    QVERIFY2(byKategori.contains(Schema::IndexKategori) && !byKategori.contains(QLatin1String("TEMP B-TREE")),
             qPrintable(byKategori));
    const QString byBeskrivelse =
        plan(QStringLiteral("SELECT rowid FROM Habitra ORDER BY Beskrivelse COLLATE NOCASE, rowid"));
    QVERIFY2(byBeskrivelse.contains(Schema::IndexBeskrivelse) &&
                 !byBeskrivelse.contains(QLatin1String("TEMP B-TREE")),
             qPrintable(byBeskrivelse));
}

void TFilterTest::UnknownIndexIsRejected() {
    TItemTableFixture fixture;
    fixture.Table.SetIndexName(Schema::IndexKategori);
    fixture.Table.Next();
    const qint64 current = fixture.CurrentFoto();
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, fixture.Table.SetIndexName(QStringLiteral("IndexPris")));
    QCOMPARE(fixture.Table.IndexName(), Schema::IndexKategori);
    QCOMPARE(fixture.CurrentFoto(), current);
    // Back to the primary order.
    fixture.Table.SetIndexName(QString());
    QCOMPARE(fixture.VisibleFotos(), (TFotos{1, 2, 3, 4, 5, 6, 7}));
}

HABITRA_TEST(TFilterTest)
#include "FilterTest.moc"
