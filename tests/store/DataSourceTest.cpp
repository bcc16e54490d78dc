#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Schema.h"

#include <QTest>

// What bound controls and the data-change handler are told, and when they must hand over typed text.
class TDataSourceTest : public QObject {
    Q_OBJECT
private slots:
    void DataChangeEvents_data();
    void DataChangeEvents();
    void AfterInsert_data();
    void AfterInsert();
    void PendingTextIsWrittenBack_data();
    void PendingTextIsWrittenBack();
    void NestedDisableControls();
    void DetachedSourceHearsNothing();
    void DestroyedSourceCallsNoHandler();
    void DestroyedTableTellsOnlyTheLinks();
};

enum TOperation {
    opNext,
    opPrior,
    opLast,
    opFirst,
    opBookmark,
    opFilter,
    opFiltered,
    opIndex,
    opInsert,
    opDelete,
    opEdit,
    opFieldChange,
    opCancel,
    opPost,
    opRefresh
};
Q_DECLARE_METATYPE(TOperation)

namespace {
void Prepare(TTable& table, TOperation operation) {
    switch (operation) {
    case opPrior:
    case opFirst:
    case opBookmark:
        table.Last();
        break;
    case opFieldChange:
    case opCancel:
        table.Edit();
        break;
    case opPost:
        table.Edit();
        table.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("X1"));
        break;
    default:
        break;
    }
}

void Perform(TTable& table, TOperation operation, const TBookmark& bookmark) {
    switch (operation) {
    case opNext:
        table.Next();
        break;
    case opPrior:
        table.Prior();
        break;
    case opLast:
        table.Last();
        break;
    case opFirst:
        table.First();
        break;
    case opBookmark:
        table.GotoBookmark(bookmark);
        break;
    case opFilter:
        table.SetFilter(QStringLiteral("Kategori = 'Bøger'"));
        break;
    case opFiltered:
        table.SetFiltered(false);
        break;
    case opIndex:
        table.SetIndexName(Schema::IndexBeskrivelse);
        break;
    case opInsert:
        table.Insert();
        break;
    case opDelete:
        table.Delete();
        break;
    case opEdit:
        table.Edit();
        break;
    case opFieldChange:
        table.FieldByName(QStringLiteral("Fabrikat"))->SetAsString(QStringLiteral("Hay"));
        break;
    case opCancel:
        table.Cancel();
        break;
    case opPost:
        table.Post();
        break;
    case opRefresh:
        table.Refresh();
        break;
    }
}
} // namespace

void TDataSourceTest::DataChangeEvents_data() {
    QTest::addColumn<TOperation>("operation");
    QTest::addColumn<QString>("changedField"); // the field the event names, empty for the whole record
    QTest::newRow("Next") << opNext << QString();
    QTest::newRow("Prior") << opPrior << QString();
    QTest::newRow("Last") << opLast << QString();
    QTest::newRow("First") << opFirst << QString();
    QTest::newRow("GotoBookmark") << opBookmark << QString();
    QTest::newRow("filter") << opFilter << QString();
    QTest::newRow("filtering off") << opFiltered << QString();
    QTest::newRow("order") << opIndex << QString();
    QTest::newRow("Insert") << opInsert << QString();
    QTest::newRow("Delete") << opDelete << QString();
    QTest::newRow("Edit begins") << opEdit << QString();
    QTest::newRow("field change") << opFieldChange << QStringLiteral("Fabrikat");
    QTest::newRow("Cancel") << opCancel << QString();
    QTest::newRow("Post") << opPost << QString();
    QTest::newRow("Refresh") << opRefresh << QString();
}

void TDataSourceTest::DataChangeEvents() {
    QFETCH(TOperation, operation);
    QFETCH(QString, changedField);
    QStringList seen; // per event: the named field and the item current when it came
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
    table.SetFiltered(true);
    const TBookmark bookmark = table.GetBookmark();
    Prepare(table, operation);

    fixture.Source.OnDataChange = [&](TDataSource& sender, TField* field) {
        QCOMPARE(&sender, &fixture.Source);
        seen << (field ? field->FieldName() : QString()) + QLatin1Char('@') +
                    table.FieldByName(QStringLiteral("Foto"))->AsString();
    };
    Perform(table, operation, bookmark);
    QVERIFY2(!seen.isEmpty(), "no data-change event");
    // The handler already sees the new state, e.g. the record that became current.
    const QString last =
        changedField + QLatin1Char('@') + table.FieldByName(QStringLiteral("Foto"))->AsString();
    QVERIFY2(seen.contains(last), qPrintable(seen.join(QLatin1Char(' '))));
}

void TDataSourceTest::AfterInsert_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Insert") << 0;
    QTest::newRow("Append") << 1;
    QTest::newRow("Edit on an empty set") << 2;
}

void TDataSourceTest::AfterInsert() {
    QFETCH(int, how);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    if (how == 2) {
        table.SetFilter(QStringLiteral("Kategori = 'Værktøj'"));
        table.SetFiltered(true);
    }
    int raised = 0;
    TDataSetState stateInEvent = dsInactive;
    table.AfterInsert = [&](TTable& sender) {
        ++raised;
        stateInEvent = sender.State();
        sender.FieldByName(QStringLiteral("Foto"))->SetAsInteger(42);
        sender.FieldByName(QStringLiteral("Kategori"))->SetAsString(QStringLiteral("Værktøj"));
    };
    how == 0 ? table.Insert() : how == 1 ? table.Append() : table.Edit();
    QCOMPARE(raised, 1);
    QCOMPARE(stateInEvent, dsInsert);
    QCOMPARE(fixture.CurrentFoto(), 42);
    table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(QStringLiteral("Boremaskine"));
    table.Post();
    QCOMPARE(raised, 1);
    QCOMPARE(
        QueryFile(fixture.ItemPath(), QStringLiteral("SELECT Foto, Kategori, Beskrivelse FROM Habitra WHERE "
                                                     "Foto = 42")),
        QStringList{QStringLiteral("42|Værktøj|Boremaskine")});
}

void TDataSourceTest::PendingTextIsWrittenBack_data() {
    QTest::addColumn<TOperation>("operation");
    QTest::newRow("Post") << opPost;
    QTest::newRow("Next") << opNext;
    QTest::newRow("Last") << opLast;
    QTest::newRow("filter") << opFilter;
    QTest::newRow("filtering") << opFiltered;
    QTest::newRow("order") << opIndex;
    QTest::newRow("Refresh") << opRefresh;
}

void TDataSourceTest::PendingTextIsWrittenBack() {
    QFETCH(TOperation, operation);
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    TCountingLink edit;
    edit.SetDataSource(&fixture.Source);
    QString typed;
    edit.WriteBack = [&] {
        if (!typed.isEmpty()) {
            edit.DataSet()->FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(typed);
        }
    };
    QVERIFY(edit.Edit());
    typed = QStringLiteral("Spisebordsstol"); // typed, not yet in the field
    QCOMPARE(edit.UpdateDataCalls, 0);
    if (operation == opPost) {
        table.Post();
    } else {
        Perform(table, operation, {});
    }
    QVERIFY(edit.UpdateDataCalls > 0);
    QCOMPARE(table.State(), dsBrowse);
    QCOMPARE(fixture.StoredDescriptions().first(), typed);
}

void TDataSourceTest::NestedDisableControls() {
    int dataChanges = 0;
    TItemTableFixture fixture;
    TTable& table = fixture.Table;
    TCountingLink link;
    link.SetDataSource(&fixture.Source);
    fixture.Source.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
    const int before = link.Total();

    table.DisableControls();
    table.DisableControls();
    table.Next();
    table.SetFilter(QStringLiteral("Kategori = 'Møbler'"));
    table.SetFiltered(true);
    table.Last();
    table.EnableControls();
    QVERIFY(table.ControlsDisabled());
    QCOMPARE(link.Total(), before);
    QCOMPARE(dataChanges, 0);
    table.EnableControls();
    QVERIFY(!table.ControlsDisabled());
    QCOMPARE(link.DataSetChanges, 1); // one catch-up notification
    QCOMPARE(link.Total(), before + 1);
    QCOMPARE(dataChanges, 1);

    // An extra EnableControls does nothing: the next Disable still disables.
    table.EnableControls();
    QCOMPARE(link.Total(), before + 1);
    table.DisableControls();
    QVERIFY(table.ControlsDisabled());
    table.First();
    QCOMPARE(link.Total(), before + 1);
    table.EnableControls();
    QCOMPARE(link.Total(), before + 2);

    // Without a change while disabled, enabling again sends nothing.
    table.DisableControls();
    table.EnableControls();
    QCOMPARE(link.Total(), before + 2);

    // Typed text still reaches the fields while the controls are disabled.
    table.Edit();
    link.WriteBack = [&] { table.FieldByName(QStringLiteral("Model"))->SetAsString(QStringLiteral("Y2")); };
    table.DisableControls();
    table.Post();
    table.EnableControls();
    QCOMPARE(table.FieldByName(QStringLiteral("Model"))->AsString(), QStringLiteral("Y2"));
}

void TDataSourceTest::DetachedSourceHearsNothing() {
    int dataChanges = 0;
    TItemTableFixture fixture;
    TCountingLink link;
    link.SetDataSource(&fixture.Source);
    fixture.Source.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
    fixture.Table.Next();
    QCOMPARE(link.Scrolls, 1);
    const int heard = dataChanges;
    fixture.Source.SetDataSet(nullptr);
    const int total = link.Total();
    dataChanges = 0;
    fixture.Table.Next();
    QCOMPARE(link.Total(), total);
    QCOMPARE(dataChanges, 0);
    QVERIFY(heard > 0);
}

void TDataSourceTest::DestroyedSourceCallsNoHandler() {
    TItemTableFixture fixture;
    int calls = 0;
    {
        // The handlers belong to an owner that is being destroyed as well.
        TDataSource source;
        source.SetDataSet(&fixture.Table);
        source.OnDataChange = [&](TDataSource&, TField*) { ++calls; };
        source.OnStateChange = [&](TDataSource&) { ++calls; };
        fixture.Table.Next();
        QCOMPARE(calls, 1);
    }
    QCOMPARE(calls, 1);
    fixture.Table.Next(); // the table no longer knows the source
}

void TDataSourceTest::DestroyedTableTellsOnlyTheLinks() {
    TDataSource source;
    TCountingLink link;
    int calls = 0;
    {
        TItemTableFixture fixture;
        source.SetDataSet(&fixture.Table);
        link.SetDataSource(&source);
        source.OnDataChange = [&](TDataSource&, TField*) { ++calls; };
        calls = 0;
        link.ActiveChanges = 0;
    }
    // A window destroys its table before the handlers' owner is gone: the handlers must stay quiet.
    QCOMPARE(calls, 0);
    QCOMPARE(link.ActiveChanges, 1);
    QVERIFY(!source.DataSet());
}

HABITRA_TEST(TDataSourceTest)
#include "DataSourceTest.moc"
