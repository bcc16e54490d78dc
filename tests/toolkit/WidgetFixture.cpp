#include "WidgetFixture.h"

#include "store/FormatSettings.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

TWidgetFixture::TWidgetFixture(int items) : Window(std::make_unique<QWidget>()) {
    if (items > 0) {
        TSqliteDatabase db;
        db.Open(Folder.FilePath(QStringLiteral("Data/Habitra.db")));
        db.Execute(
            QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                           "INSERT INTO Habitra (Beskrivelse, Kobsdato, Vaerdi, Foto, Kategori) "
                           "SELECT 'Item ' || x, printf('2020-03-%02d', (x - 1) % 28 + 1), x * 100, x, "
                           "'Antikviteter' FROM n")
                .arg(items));
    }
    Table.SetDatabaseName(Folder.DataPath());
    Table.SetTableName(Schema::ItemFile);
    Table.SetFieldDefs(Schema::ItemFields());
    Table.SetFormatSettings(TFormatSettings::Danish());
    Source.SetDataSet(&Table);
    Window->resize(640, 480);
}

void TWidgetFixture::Open() {
    Table.Open();
}

bool TWidgetFixture::ShowWindow() {
    Window->show();
    QApplication::setActiveWindow(Window.get());
    return QTest::qWaitForWindowActive(Window.get());
}

QString TWidgetFixture::StoredValue(qint64 foto, const QString& field) const {
    TSqliteDatabase db;
    db.Open(Folder.FilePath(QStringLiteral("Data/Habitra.db")));
    TSqliteStatement query(db, QStringLiteral("SELECT \"%1\" FROM Habitra WHERE Foto = ?").arg(field));
    query.Bind(1, QVariant(foto));
    if (!query.Step()) {
        return QStringLiteral("<no record>");
    }
    return query.IsNull(0) ? QStringLiteral("<null>") : query.Text(0);
}
