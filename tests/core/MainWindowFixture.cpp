#include "MainWindowFixture.h"

#include "store/Sqlite.h"
#include "ui_Unit1.h"

#include <QTest>

void TMainWindowFixture::Sql(const QString& file, const QString& statement) const {
    TSqliteDatabase db;
    db.Open(QDir(Folder.DataPath()).filePath(file));
    db.Execute(statement);
}

TForm1& TMainWindowFixture::Start() {
    Program = std::make_unique<TProgram>(TFormatSettings::Danish(), Folder.Path());
    Form = &Program->Form1();
    Form->show();
    QCoreApplication::processEvents();
    QTest::qWait(30);
    return *Form;
}

void TMainWindowFixture::SelectPage(const QString& page) const {
    Form->Controls().PageControl1->setCurrentWidget(Form->Page(page));
}

QString TMainWindowFixture::ConfigRow() const {
    TSqliteDatabase db;
    db.Open(QDir(Folder.DataPath()).filePath(QStringLiteral("Config.DB")));
    TSqliteStatement query(db, QStringLiteral("SELECT Hojde, Bredde, Sprog FROM Config"));
    return query.Step() ? QStringLiteral("%1|%2|%3").arg(query.Text(0), query.Text(1), query.Text(2))
                        : QString();
}
