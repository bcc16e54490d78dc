#include "toolkit/DBNavigator.h"
#include "TestRegistry.h"
#include "WidgetFixture.h"
#include "toolkit/DBEdit.h"

#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>
#include <vector>

namespace {
const QStringList ButtonNames = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                 "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};

QStringList EnabledButtons(const TDBNavigator& navigator) {
    QStringList names;
    for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
        if (navigator.Button(TNavigateBtn(i))->isEnabled()) {
            names << ButtonNames.at(i);
        }
    }
    return names;
}
} // namespace

class DBNavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_fixture = std::make_unique<TWidgetFixture>(3);
        auto* layout = new QVBoxLayout(m_fixture->Window.get());
        m_edit = new TDBEdit;
        m_edit->SetDataSource(&m_fixture->Source);
        m_edit->SetDataField(QStringLiteral("Beskrivelse"));
        layout->addWidget(m_edit);
        m_navigator = new TDBNavigator;
        m_navigator->SetDataSource(&m_fixture->Source);
        layout->addWidget(m_navigator);
        m_clicks.clear();
        m_navigator->OnClick = [this](TDBNavigator& sender, TNavigateBtn button) {
            QCOMPARE(&sender, m_navigator);
            m_clicks.push_back(button);
        };
        m_fixture->Open();
    }
    void cleanup() {
        const int expected = std::exchange(m_expectedBoxes, 0);
        const std::unique_ptr<TWidgetFixture> fixture = std::move(m_fixture);
        QVERIFY(fixture);
        QCOMPARE(fixture->Boxes.Count(), expected);
    }

    void enablingFollowsTheTable_data() {
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("first of three") << 3 << "first"
                                        << "nbNext nbLast nbInsert nbDelete nbEdit nbRefresh";
        QTest::newRow("middle") << 3 << "middle"
                                << "nbFirst nbPrior nbNext nbLast nbInsert nbDelete nbEdit nbRefresh";
        QTest::newRow("last") << 3 << "last"
                              << "nbFirst nbPrior nbInsert nbDelete nbEdit nbRefresh";
        QTest::newRow("next past the last") << 3 << "past last"
                                            << "nbFirst nbPrior nbInsert nbDelete nbEdit nbRefresh";
        QTest::newRow("only item") << 1 << "first"
                                   << "nbInsert nbDelete nbEdit nbRefresh";
        QTest::newRow("empty") << 0 << "first"
                               << "nbInsert nbRefresh";
        QTest::newRow("editing") << 3 << "edit"
                                 << "nbNext nbLast nbPost nbCancel";
        QTest::newRow("inserting into empty") << 0 << "insert"
                                              << "nbPost nbCancel";
        QTest::newRow("editing the middle one") << 3 << "middle edit"
                                                << "nbFirst nbPrior nbNext nbLast nbPost nbCancel";
        QTest::newRow("closed") << 3 << "closed"
                                << "";
    }
    void enablingFollowsTheTable() {
        QFETCH(int, items);
        QFETCH(QString, situation);
        QFETCH(QString, enabled);
        if (items != 3) {
            m_fixture.reset();
            m_fixture = std::make_unique<TWidgetFixture>(items);
            m_navigator = new TDBNavigator(m_fixture->Window.get());
            m_navigator->SetDataSource(&m_fixture->Source);
            m_fixture->Open();
        }
        TTable& table = m_fixture->Table;
        if (situation.contains(QLatin1String("middle"))) {
            table.Next();
        }
        if (situation == QLatin1String("last")) {
            table.Last();
        }
        if (situation == QLatin1String("past last")) {
            table.Last();
            table.Prior();
            table.Next();
            table.Next();
        }
        if (situation.contains(QLatin1String("edit"))) {
            table.Edit();
        }
        if (situation == QLatin1String("insert")) {
            table.Insert();
        }
        if (situation == QLatin1String("closed")) {
            table.Close();
        }
        QCOMPARE(EnabledButtons(*m_navigator).join(QLatin1Char(' ')), enabled);
    }

    void buttonsActThenReport_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("recNo");
        QTest::addColumn<int>("state");
        QTest::newRow("next") << int(nbNext) << 2 << int(dsBrowse);
        QTest::newRow("last") << int(nbLast) << 3 << int(dsBrowse);
        QTest::newRow("insert") << int(nbInsert) << 1 << int(dsInsert);
        QTest::newRow("edit") << int(nbEdit) << 1 << int(dsEdit);
    }
    void buttonsActThenReport() {
        QFETCH(int, button);
        QFETCH(int, recNo);
        QFETCH(int, state);
        QTest::mouseClick(m_navigator->Button(TNavigateBtn(button)), Qt::LeftButton);
        QCOMPARE(m_fixture->Table.RecNo(), recNo);
        QCOMPARE(int(m_fixture->Table.State()), state);
        QCOMPARE(m_clicks, std::vector<TNavigateBtn>{TNavigateBtn(button)});
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("remaining");
        QTest::newRow("confirmed") << "OK" << 2;
        QTest::newRow("cancelled") << "Annuller" << 3;
    }
    void deleteAsksFirst() {
        QFETCH(QString, answer);
        QFETCH(int, remaining);
        m_fixture->Table.Next();
        TModalAnswerer& box = m_fixture->Boxes;
        box.SetButton(answer);
        m_expectedBoxes = 1;
        QTest::mouseClick(m_navigator->Button(nbDelete), Qt::LeftButton);
        QCOMPARE(box.Count(), 1);
        QCOMPARE(box.Titles.value(0), QStringLiteral("Bekræft"));
        QCOMPARE(box.Texts.value(0), QStringLiteral("Slet denne post?"));
        QCOMPARE(m_fixture->Table.RecordCount(), remaining);
        QCOMPARE(m_fixture->StoredValue(2, QStringLiteral("Foto")) == QStringLiteral("<no record>"),
                 remaining == 2);
        QCOMPARE(m_clicks, std::vector<TNavigateBtn>{nbDelete});
    }

    void postButtonStoresTextOfTheFocusedEdit() {
        QVERIFY(m_fixture->ShowWindow());
        m_edit->setFocus();
        QTRY_VERIFY(m_edit->hasFocus());
        m_edit->selectAll();
        QTest::keyClicks(m_edit, QStringLiteral("Maleri"));
        QVERIFY(m_navigator->Button(nbPost)->isEnabled());
        QTest::mouseClick(m_navigator->Button(nbPost), Qt::LeftButton);
        QCOMPARE(m_fixture->Table.State(), dsBrowse);
        QCOMPARE(m_fixture->StoredValue(1, QStringLiteral("Beskrivelse")), QStringLiteral("Maleri"));
        QVERIFY(m_edit->hasFocus());
    }

    void failedActionIsShownAndNotReported() {
        auto* value = new TDBEdit(m_fixture->Window.get());
        value->SetDataSource(&m_fixture->Source);
        value->SetDataField(QStringLiteral("Vaerdi"));
        QVERIFY(m_fixture->ShowWindow());
        value->setFocus();
        QTRY_VERIFY(value->hasFocus());
        value->selectAll();
        QTest::keyClicks(value, QStringLiteral("abc"));
        TModalAnswerer& box = m_fixture->Boxes;
        m_expectedBoxes = 1;
        QTest::mouseClick(m_navigator->Button(nbPost), Qt::LeftButton);
        QCOMPARE(box.Count(), 1);
        QVERIFY2(box.Texts.value(0).contains(QLatin1String("abc")), qPrintable(box.Texts.value(0)));
        QCOMPARE(m_fixture->Table.State(), dsEdit);
        QCOMPARE(m_fixture->StoredValue(1, QStringLiteral("Vaerdi")), QStringLiteral("100"));
        QVERIFY(m_clicks.empty());
    }

    void danishHintsByDefault() {
        for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
            QCOMPARE(m_navigator->Button(TNavigateBtn(i))->toolTip(), TDBNavigator::DefaultHints().at(i));
        }
        QCOMPARE(m_navigator->Button(nbFirst)->toolTip(), QStringLiteral("Første"));
        QCOMPARE(m_navigator->Button(nbRefresh)->toolTip(), QStringLiteral("Opdatér"));
        QVERIFY(m_navigator->Hints().isEmpty());
    }

    void hintsListReplacesByKind_data() {
        QTest::addColumn<QStringList>("hints");
        QTest::addColumn<QStringList>("shown");
        const QStringList danish = TDBNavigator::DefaultHints();
        const QStringList english = {"First",  "Prior", "Next", "Last",   "Insert",
                                     "Delete", "Edit",  "Post", "Cancel", "Refresh"};
        QTest::newRow("all ten") << english << english;
        QTest::newRow("first three") << english.mid(0, 3) << english.mid(0, 3) + danish.mid(3);
        QTest::newRow("empty list") << QStringList() << danish;
        QTest::newRow("empty line") << QStringList({"First", ""})
                                    << QStringList({"First", ""}) + danish.mid(2);
    }
    void hintsListReplacesByKind() {
        QFETCH(QStringList, hints);
        QFETCH(QStringList, shown);
        // Hidden buttons keep their line: the main window's bars have no refresh button.
        m_navigator->SetVisibleButtons(
            {nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel});
        QVERIFY(m_navigator->setProperty("hints", hints));
        QCOMPARE(m_navigator->property("hints").toStringList(), hints);
        for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
            QCOMPARE(m_navigator->Button(TNavigateBtn(i))->toolTip(), shown.at(i));
        }
        QVERIFY(m_navigator->Button(nbRefresh)->isHidden());
        QVERIFY(!m_navigator->Button(nbCancel)->isHidden());
    }

    void buttonsLookFlatWithHandCursor() {
        for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
            QToolButton* button = m_navigator->Button(TNavigateBtn(i));
            QVERIFY(button->autoRaise());
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(!button->icon().isNull());
        }
        m_navigator->SetFlat(false);
        QVERIFY(!m_navigator->Button(nbNext)->autoRaise());
    }

private:
    int m_expectedBoxes = 0;
    std::unique_ptr<TWidgetFixture> m_fixture;
    TDBNavigator* m_navigator = nullptr;
    TDBEdit* m_edit = nullptr;
    std::vector<TNavigateBtn> m_clicks;
};

HABITRA_TEST(DBNavigatorTest)
#include "DBNavigatorTest.moc"
