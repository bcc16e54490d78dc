#include "toolkit/DBEdit.h"
#include "TestRegistry.h"
#include "WidgetFixture.h"
#include "store/Error.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DBText.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <utility>

namespace {
// The item editor's kinds of control on one window, all bound to the fixture's source.
struct TEditor {
    explicit TEditor(TWidgetFixture& fixture) {
        auto* layout = new QVBoxLayout(fixture.Window.get());
        const auto bind = [&](auto* control, const char* field) {
            control->setObjectName(QLatin1String(field));
            control->SetDataSource(&fixture.Source);
            control->SetDataField(QLatin1String(field));
            layout->addWidget(control);
            return control;
        };
        Beskrivelse = bind(new TDBEdit, "Beskrivelse");
        Identifikation = bind(new TDBEdit, "Identifikation");
        Vaerdi = bind(new TDBEdit, "Vaerdi");
        Kobsdato = bind(new TDBDateEdit, "Kobsdato");
        Notater = bind(new TDBMemo, "Notater");
        Foto = bind(new TDBText, "Foto");
        Identifikation->setMaxLength(60);
    }
    // The line edit of the given field name.
    TDBEdit* Edit(const QString& field) const {
        for (TDBEdit* edit : {Beskrivelse, Identifikation, Vaerdi, static_cast<TDBEdit*>(Kobsdato)}) {
            if (edit->DataField() == field) {
                return edit;
            }
        }
        return nullptr;
    }

    TDBEdit* Beskrivelse;
    TDBEdit* Identifikation;
    TDBEdit* Vaerdi;
    TDBDateEdit* Kobsdato;
    TDBMemo* Notater;
    TDBText* Foto;
};

void Focus(QWidget* widget) {
    widget->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(widget->hasFocus());
}

void ReplaceText(QWidget* widget, const QString& text) {
    Focus(widget);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Backspace);
    QTest::keyClicks(widget, text);
}
} // namespace

class DBEditTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_fixture = std::make_unique<TWidgetFixture>(3);
        m_editor = std::make_unique<TEditor>(*m_fixture);
        m_fixture->Open();
        QVERIFY(m_fixture->ShowWindow());
    }
    void cleanup() {
        m_editor.reset();
        const int expected = std::exchange(m_expectedBoxes, 0);
        const std::unique_ptr<TWidgetFixture> fixture = std::move(m_fixture);
        QVERIFY(fixture);
        QCOMPARE(fixture->Boxes.Count(), expected);
    }

    void showsCurrentRecordWithoutEditing() {
        TTable& table = m_fixture->Table;
        for (int step = 0; step < 3; ++step) {
            const QString n = QString::number(table.RecNo());
            QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Item ") + n);
            QCOMPARE(m_editor->Vaerdi->text(), n + QStringLiteral(",00"));
            QCOMPARE(m_editor->Kobsdato->text(), QStringLiteral("0%1-03-2020").arg(n));
            QCOMPARE(m_editor->Foto->text(), n);
            QCOMPARE(table.State(), dsBrowse);
            QVERIFY(!m_editor->Beskrivelse->Modified());
            QVERIFY(!table.Modified());
            table.Next();
        }
        table.Prior();
        table.First();
        QCOMPARE(table.State(), dsBrowse);
        QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Item 1"));
    }

    void typingStartsEditing_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("keys");
        QTest::newRow("edit") << "Beskrivelse"
                              << "x";
        QTest::newRow("date edit") << "Kobsdato"
                                   << "1";
        QTest::newRow("memo") << "Notater"
                              << "note";
    }
    void typingStartsEditing() {
        QFETCH(QString, control);
        QFETCH(QString, keys);
        QWidget* widget = m_fixture->Window->findChild<QWidget*>(control);
        Focus(widget);
        QTest::keyClick(widget, Qt::Key_End);
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        QTest::keyClicks(widget, keys);
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        // The typed text stays: starting the edit reloads the record but not this control.
        const QString shown = qobject_cast<TDBMemo*>(widget) ? qobject_cast<TDBMemo*>(widget)->toPlainText()
                                                             : qobject_cast<QLineEdit*>(widget)->text();
        QVERIFY2(shown.endsWith(keys), qPrintable(shown));
    }

    void pasteWithoutKeysStartsEditing() {
        QGuiApplication::clipboard()->setText(QStringLiteral(" og stol"));
        Focus(m_editor->Beskrivelse);
        m_editor->Beskrivelse->end(false);
        m_editor->Beskrivelse->paste();
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Item 1 og stol"));
        QVERIFY(m_editor->Beskrivelse->Modified());
    }

    void leavingWritesTheField_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fieldText");
        QTest::newRow("text") << "Beskrivelse"
                              << "Item 1"
                              << "Sofa"
                              << "Sofa";
        QTest::newRow("amount") << "Vaerdi"
                                << "1"
                                << "1234,5"
                                << "1234,5";
        QTest::newRow("date") << "Kobsdato"
                              << "01-03-2020"
                              << "24-12-2019"
                              << "24-12-2019";
        QTest::newRow("cut to the field's width")
            << "Identifikation"
            << "" << QString(40, QLatin1Char('x')) << QString(30, QLatin1Char('x'));
    }
    void leavingWritesTheField() {
        QFETCH(QString, control);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, fieldText);
        TDBEdit* edit = m_editor->Edit(control);
        ReplaceText(edit, typed);
        QCOMPARE(m_fixture->Table.FieldByName(control)->AsString(), before);
        Focus(m_editor->Notater);
        QCOMPARE(m_fixture->Table.FieldByName(control)->AsString(), fieldText);
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QVERIFY(!edit->Modified());
        // What the field kept is what the control shows now.
        QCOMPARE(edit->text(), m_fixture->Table.FieldByName(control)->Text());
    }

    void postWritesPendingText() {
        ReplaceText(m_editor->Beskrivelse, QStringLiteral("Lampe"));
        QVERIFY(m_editor->Beskrivelse->hasFocus());
        m_fixture->Table.Post();
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        QCOMPARE(m_fixture->StoredValue(1, QStringLiteral("Beskrivelse")), QStringLiteral("Lampe"));
        QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Lampe"));
    }

    void moveWritesPendingMemo() {
        Focus(m_editor->Notater);
        QTest::keyClicks(m_editor->Notater, QStringLiteral("first"));
        QTest::keyClick(m_editor->Notater, Qt::Key_Return);
        QTest::keyClicks(m_editor->Notater, QStringLiteral("second"));
        m_fixture->Table.Next();
        QCOMPARE(m_fixture->StoredValue(1, QStringLiteral("Notater")), QStringLiteral("first\nsecond"));
        QCOMPARE(m_editor->Notater->toPlainText(), QString());
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
    }

    void memoTabTypesATab() {
        Focus(m_editor->Notater);
        QTest::keyClicks(m_editor->Notater, QStringLiteral("a"));
        QTest::keyClick(m_editor->Notater, Qt::Key_Tab);
        QTest::keyClicks(m_editor->Notater, QStringLiteral("b"));
        QVERIFY(m_editor->Notater->hasFocus());
        QCOMPARE(m_editor->Notater->toPlainText(), QStringLiteral("a\tb"));
    }

    void refusedValueKeepsEditing_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::newRow("amount") << "Vaerdi"
                                << "abc";
        QTest::newRow("impossible date") << "Kobsdato"
                                         << "31-02-2020";
    }
    void refusedValueKeepsEditing() {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        TDBEdit* edit = m_editor->Edit(control);
        const QString before = m_fixture->Table.FieldByName(control)->AsString();
        const QString stored = m_fixture->StoredValue(1, control);
        ReplaceText(edit, typed);
        TModalAnswerer& answer = m_fixture->Boxes;
        m_editor->Beskrivelse->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(answer.Count(), 1);
        QTest::qWait(50);
        QCOMPARE(answer.Count(), 1); // one message, not one per focus change it causes
        QVERIFY2(answer.Texts.value(0).contains(typed), qPrintable(answer.Texts.value(0)));
        m_expectedBoxes = 1;
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_fixture->Table.FieldByName(control)->AsString(), before);
        // The control takes the focus back (the window gets it again as it is reactivated).
        QCOMPARE(m_fixture->Window->focusWidget(), edit);
        QCOMPARE(edit->text(), typed);
        // A post fails the same way and leaves the record in editing.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, m_fixture->Table.Post());
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_fixture->StoredValue(1, control), stored);
        QCOMPARE(m_fixture->Table.FieldByName(control)->AsString(), before);
    }

    void emptyDateIsStoredAsNull() {
        QVERIFY(!m_fixture->Table.FieldByName(QStringLiteral("Kobsdato"))->IsNull());
        ReplaceText(m_editor->Kobsdato, QString());
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        m_fixture->Table.Post();
        QCOMPARE(m_fixture->StoredValue(1, QStringLiteral("Kobsdato")), QStringLiteral("<null>"));
        QCOMPARE(m_editor->Kobsdato->text(), QString());
    }

    void calendarPicksADate() {
        m_editor->Kobsdato->CalendarButton()->trigger();
        QVERIFY(m_editor->Kobsdato->CalendarVisible());
        QCOMPARE(m_editor->Kobsdato->Calendar()->selectedDate(), QDate(2020, 3, 1));
        m_editor->Kobsdato->Calendar()->setSelectedDate(QDate(2021, 7, 9));
        QTest::keyClick(m_editor->Kobsdato->Calendar()->findChild<QTableView*>(), Qt::Key_Return);
        QVERIFY(!m_editor->Kobsdato->CalendarVisible());
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_fixture->Table.FieldByName(QStringLiteral("Kobsdato"))->AsDate(), QDate(2021, 7, 9));
        QCOMPARE(m_editor->Kobsdato->text(), QStringLiteral("09-07-2021"));
    }

    void escapeDropsTheTypedText() {
        ReplaceText(m_editor->Beskrivelse, QStringLiteral("Forkert"));
        QTest::keyClick(m_editor->Beskrivelse, Qt::Key_Escape);
        QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Item 1"));
        Focus(m_editor->Vaerdi);
        QCOMPARE(m_fixture->Table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
                 QStringLiteral("Item 1"));
    }

    void typingIsRefusedWithoutAnOpenTable() {
        m_fixture->Table.Close();
        QCOMPARE(m_editor->Beskrivelse->text(), QString());
        Focus(m_editor->Beskrivelse);
        QTest::keyClicks(m_editor->Beskrivelse, QStringLiteral("abc"));
        QCOMPARE(m_editor->Beskrivelse->text(), QString());
        Focus(m_editor->Notater);
        QTest::keyClicks(m_editor->Notater, QStringLiteral("abc"));
        QCOMPARE(m_editor->Notater->toPlainText(), QString());
    }

    void typingIntoAnEmptyTableBeginsANewItem() {
        m_fixture->Table.Close();
        m_fixture.reset();
        m_editor.reset();
        m_fixture = std::make_unique<TWidgetFixture>(0);
        m_editor = std::make_unique<TEditor>(*m_fixture);
        m_fixture->Open();
        QVERIFY(m_fixture->ShowWindow());
        Focus(m_editor->Beskrivelse);
        QTest::keyClicks(m_editor->Beskrivelse, QStringLiteral("Stol"));
        QCOMPARE(m_fixture->Table.State(), dsInsert);
        QCOMPARE(m_editor->Beskrivelse->text(), QStringLiteral("Stol"));
        m_fixture->Table.Post();
        QCOMPARE(m_fixture->Table.RecordCount(), 1);
        QCOMPARE(m_fixture->Table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
                 QStringLiteral("Stol"));
    }

private:
    int m_expectedBoxes = 0;
    std::unique_ptr<TWidgetFixture> m_fixture;
    std::unique_ptr<TEditor> m_editor;
};

HABITRA_TEST(DBEditTest)
#include "DBEditTest.moc"
