#include "MainWindowFixture.h"
#include "TestRegistry.h"

#include "catalogue/Catalogue.h"
#include "overview/CategoryComboBox.h"
#include "overview/Unit2.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "toolkit/DBNavigator.h"
#include "ui_Unit1.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QToolButton>

#include <map>
#include <optional>

// Thousands of random user actions through the real windows, checked against a model of what the
// register must hold. HABITRA_SOAK_SEED and HABITRA_SOAK_ACTIONS change the run.
class TSoakTest : public QObject {
    Q_OBJECT
private slots:
    void randomUserActions();
};

namespace {
struct TModelItem {
    QString Beskrivelse;
    QString Fabrikat;
    QString Kategori;
    bool operator==(const TModelItem&) const = default;
};
using TModel = std::map<qint64, TModelItem>;

// The record being edited or inserted, as the user has typed it so far.
struct TPending {
    qint64 Foto = 0;
    bool Inserting = false;
    bool Modified = false;
    TModelItem Item;
};

TModel StoredModel(const QString& file) {
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement query(db, QStringLiteral("SELECT Foto, Beskrivelse, Fabrikat, Kategori FROM Habitra"));
    TModel stored;
    while (query.Step()) {
        stored[query.Int64(0)] = TModelItem{query.Text(1), query.Text(2), query.Text(3)};
    }
    return stored;
}

QString Describe(const TModel& model) {
    QStringList lines;
    for (const auto& [foto, item] : model) {
        lines << QStringLiteral("%1|%2|%3|%4").arg(foto).arg(item.Beskrivelse, item.Fabrikat, item.Kategori);
    }
    return lines.join(QLatin1Char('\n'));
}

int EnvironmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}
} // namespace

void TSoakTest::randomUserActions() {
    const quint32 seed = quint32(EnvironmentNumber("HABITRA_SOAK_SEED", 20240611));
    const int actions = EnvironmentNumber("HABITRA_SOAK_ACTIONS", 10000);
    qInfo("soak: seed %u, %d actions", seed, actions);
    QRandomGenerator random(seed);

    TMainWindowFixture fixture;
    const QString file = QDir(fixture.Folder.DataPath()).filePath(QStringLiteral("Habitra.db"));
    // A register to start from: a few items on the first pages, the counter at their last number.
    TModel model;
    qint64 counter = 0;
    {
        QStringList values;
        QStringList numbers;
        for (int i = 0; i < 12; ++i) {
            const Catalogue::TCategory& category = Catalogue::Categories().at(size_t(i % 3));
            const QString value = Catalogue::CategoryValue(category, -1);
            ++counter;
            model[counter] = TModelItem{QStringLiteral("Ting %1").arg(counter), QString(), value};
            values << QStringLiteral("('Ting %1', %1, '%2')").arg(counter).arg(value);
            numbers << QStringLiteral("(%1)").arg(counter);
        }
        fixture.Sql(QStringLiteral("Habitra.db"),
                    QStringLiteral("INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ") +
                        values.join(QLatin1Char(',')));
        fixture.Sql(QStringLiteral("Regnr.DB"),
                    QStringLiteral("INSERT INTO Regnr (Regnr) VALUES ") + numbers.join(QLatin1Char(',')));
    }

    TForm1& form = fixture.Start();
    auto& ui = form.Controls();
    ui.SpeedButton3->click();
    TTable& table = form.Register().HabitraTable();
    TForm2& overview = *form.Form2;
    overview.show();
    auto* search = overview.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* byCategory = overview.findChild<QRadioButton*>(QStringLiteral("RadioButton1"));
    auto* byDescription = overview.findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
    auto* categories = overview.findChild<TCategoryComboBox*>(QStringLiteral("ComboBox1"));
    QVERIFY(search && byCategory && byDescription && categories);

    std::optional<TPending> pending;
    // Leaving the record posts what was changed and drops the rest.
    const auto settle = [&] {
        if (pending && (pending->Inserting || pending->Modified)) {
            model[pending->Foto] = pending->Item;
        }
        pending.reset();
    };
    const auto currentFoto = [&] { return table.FieldByName(QStringLiteral("Foto"))->AsInteger(); };
    // The item the cursor stands on, as the model has it.
    const auto current = [&] {
        const auto found = model.find(currentFoto());
        return found != model.end() ? found->second
                                    : TModelItem{QStringLiteral("<not in the model>"), {}, {}};
    };
    const auto currentNavigator = [&] {
        return form.Navigator(ui.PageControl1->currentWidget()->objectName().mid(8).toInt());
    };
    const QString letters = QStringLiteral("abcdeføæå ;'\"-XYZ0123");
    const auto word = [&] {
        QString text;
        for (int i = int(random.bounded(1, 8)); i > 0; --i) {
            text += letters.at(int(random.bounded(letters.size())));
        }
        return text;
    };
    const auto beginInsert = [&] {
        settle();
        ++counter;
        const Catalogue::TCategory* category =
            Catalogue::FindByPage(ui.PageControl1->currentWidget()->objectName());
        pending = TPending{
            counter, true, true,
            TModelItem{QString(), QString(), Catalogue::CategoryValue(*category, form.ActiveLanguage())}};
    };
    const auto type = [&](TDBEdit* edit, QString TModelItem::*field) {
        const QString typed = word();
        if (!pending) {
            if (table.IsEmpty()) {
                beginInsert(); // typing on an empty page starts a new item
            } else {
                pending = TPending{currentFoto(), false, false, current()};
            }
        }
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, typed);
        QString& value = pending->Item.*field;
        const QString changed = (value + typed).left(60);
        pending->Modified = pending->Modified || changed != value;
        value = changed;
    };

    QElapsedTimer clock;
    clock.start();
    int deletes = 0;
    int confirmations = 0;
    int posts = 0;
    for (int step = 0; step < actions; ++step) {
        const int action = int(random.bounded(100));
        TDBNavigator* navigator = currentNavigator();
        if (action < 8) { // another category page
            const int index = int(random.bounded(ui.PageControl1->count()));
            if (index != ui.PageControl1->currentIndex()) {
                ui.PageControl1->setCurrentIndex(index);
                settle();
            }
        } else if (action < 20) { // move
            const TNavigateBtn moves[] = {nbFirst, nbPrior, nbNext, nbLast};
            QAbstractButton* button = navigator->Button(moves[random.bounded(4)]);
            if (button->isEnabled()) {
                button->click();
                settle();
            }
        } else if (action < 28) {
            if (navigator->Button(nbInsert)->isEnabled()) {
                navigator->Button(nbInsert)->click();
                beginInsert();
                QCOMPARE(currentFoto(), counter);
                QCOMPARE(table.FieldByName(QStringLiteral("Kategori"))->AsString(), pending->Item.Kategori);
            }
        } else if (action < 33) {
            if (navigator->Button(nbEdit)->isEnabled()) {
                navigator->Button(nbEdit)->click();
                pending = TPending{currentFoto(), false, false, current()};
            }
        } else if (action < 50) {
            type(ui.DBEdit1, &TModelItem::Beskrivelse);
        } else if (action < 56) {
            type(ui.DBEdit2, &TModelItem::Fabrikat);
        } else if (action < 66) {
            if (navigator->Button(nbPost)->isEnabled()) {
                navigator->Button(nbPost)->click();
                settle();
                ++posts;
            }
        } else if (action < 72) {
            if (navigator->Button(nbCancel)->isEnabled()) {
                navigator->Button(nbCancel)->click();
                pending.reset();
            }
        } else if (action < 77) {
            if (navigator->Button(nbDelete)->isEnabled()) {
                const qint64 foto = currentFoto();
                navigator->Button(nbDelete)->click();
                model.erase(foto);
                ++confirmations;
                ++deletes;
            }
        } else if (action < 81) { // language
            QAction* languages[] = {ui.Dansk, ui.English, ui.Norsk, ui.Svensk, ui.Deutsch};
            const QString searched = search->text();
            languages[random.bounded(5)]->trigger();
            // Back in Danish the overview's search line gets its own text again, and a changed
            // search line searches.
            if (search->text() != searched) {
                settle();
            }
        } else if (action < 89) { // search in the overview
            const QString key = model.empty() || random.bounded(3) == 0
                                    ? word()
                                    : std::next(model.begin(), random.bounded(int(model.size())))
                                          ->second.Beskrivelse.left(int(random.bounded(1, 6)));
            if (key != search->text()) {
                search->setText(key);
                settle();
            }
        } else if (action < 94) { // sort order
            (byCategory->isChecked() ? byDescription : byCategory)->click();
            settle();
        } else { // category choice in the overview
            const int before = categories->ChosenIndex();
            categories->setFocus();
            QTest::keyClick(categories, before + 1 < categories->count() ? Qt::Key_Down : Qt::Key_Up);
            if (categories->ChosenIndex() != before) {
                settle();
            }
        }
        if (qEnvironmentVariableIsSet("HABITRA_SOAK_TRACE")) {
            qInfo("%d: action %d lang %d page %s state %d filter %s pending %d", step, action,
                  form.ActiveLanguage(), qPrintable(ui.PageControl1->currentWidget()->objectName()),
                  int(table.State()), qPrintable(table.Filter()), pending ? 1 : 0);
        }
        const TDataSetState expected = !pending ? dsBrowse : pending->Inserting ? dsInsert : dsEdit;
        QVERIFY2(table.State() == expected,
                 qPrintable(QStringLiteral("step %1, action %2, state %3, filter %4, chosen %5")
                                .arg(step)
                                .arg(action)
                                .arg(int(table.State()))
                                .arg(table.Filter())
                                .arg(categories->ChosenIndex())));
        if (pending) {
            QCOMPARE(currentFoto(), pending->Foto);
        }
        if (step % 250 == 0) {
            QCoreApplication::processEvents();
        }
        if (step % 1000 == 999 || step == actions - 1) {
            QCOMPARE(fixture.Answerer->Count(), confirmations);
            const TModel stored = StoredModel(file);
            QVERIFY2(stored == model,
                     qPrintable(QStringLiteral("after step %1 (seed %2)\nstored:\n%3\nexpected:\n%4")
                                    .arg(step)
                                    .arg(seed)
                                    .arg(Describe(stored), Describe(model))));
        }
    }
    qInfo("soak: %lld ms, %d items, %d posts, %d deletes", clock.elapsed(), int(model.size()), posts,
          deletes);

    // Every confirmation was a delete's; nothing else went wrong.
    QCOMPARE(int(fixture.Answerer->Titles.count(QStringLiteral("Bekræft"))), confirmations);
    TSqliteDatabase db;
    db.Open(file);
    TSqliteStatement check(db, QStringLiteral("PRAGMA integrity_check"));
    QVERIFY(check.Step());
    QCOMPARE(check.Text(0), QStringLiteral("ok"));
    db.Open(QDir(fixture.Folder.DataPath()).filePath(QStringLiteral("Regnr.DB")));
    TSqliteStatement last(db, QStringLiteral("SELECT max(Regnr) FROM Regnr"));
    QVERIFY(last.Step());
    QCOMPARE(last.Int64(0), counter);
}

HABITRA_TEST(TSoakTest)
#include "SoakTest.moc"
