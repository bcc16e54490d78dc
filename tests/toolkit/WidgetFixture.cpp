#include "WidgetFixture.h"

#include "store/FormatSettings.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
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

TBoxAnswerer::TBoxAnswerer(QString button) : m_button(std::move(button)) {
    QTimer::singleShot(0, &m_context, [this] { Poll(); });
}

void TBoxAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        // Keep looking a while: the box may come up after some more events.
        if (++m_polls < 200) {
            QTimer::singleShot(10, &m_context, [this] { Poll(); });
        }
        return;
    }
    m_seen = true;
    ++m_count;
    m_title = box->windowTitle();
    m_text = box->text();
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == m_button) {
            button->click();
            return;
        }
    }
    box->reject();
}
