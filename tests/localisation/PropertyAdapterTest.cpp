#include "toolkit/PropertyAdapter.h"
#include "TestRegistry.h"
#include "TestWindow.h"
#include "toolkit/ComponentModel.h"

#include <QDialog>
#include <QGroupBox>
#include <QTest>

namespace {
// Data-aware controls: their text is data, not a translatable text.
class TDataEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataField MEMBER m_dataField)

public:
    using QLineEdit::QLineEdit;

private:
    QString m_dataField;
};

class TDataText : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString dataField MEMBER m_dataField)

public:
    using QLabel::QLabel;

private:
    QString m_dataField;
};

class THiddenCaption : public QPushButton {
    Q_OBJECT
    Q_CLASSINFO("unpublished", "Caption")

public:
    using QPushButton::QPushButton;
};

// A combo box whose Text is a prompt of its own.
class TPromptCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString text MEMBER m_prompt)

public:
    using QComboBox::QComboBox;
    QString m_prompt = QStringLiteral("Vælg");
};

// A search box: a line edit of the program's own.
class TSearchEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;
};
} // namespace

class TPropertyAdapterTest : public QObject {
    Q_OBJECT

private slots:
    void vocabulary_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("value");
        QTest::newRow("window caption") << ""
                                        << "CAPTION" << int(pkText) << "Hovedvindue";
        QTest::newRow("label caption") << "label1"
                                       << "Caption" << int(pkText) << "Beskrivelse";
        QTest::newRow("label hint") << "Label1"
                                    << "hint" << int(pkText) << "Tingens beskrivelse";
        QTest::newRow("label has no Text") << "Label1"
                                           << "Text" << int(pkNone) << "";
        QTest::newRow("button caption") << "Button1"
                                        << "Caption" << int(pkText) << "Start program";
        QTest::newRow("tab page caption") << "TabSheet1"
                                          << "Caption" << int(pkText) << "Bøger";
        QTest::newRow("menu caption") << "Filer1"
                                      << "Caption" << int(pkText) << "&Filer";
        QTest::newRow("action caption") << "afslut1"
                                        << "Caption" << int(pkText) << "&Afslut";
        QTest::newRow("action hint") << "Afslut1"
                                     << "Hint" << int(pkText) << "Afslut programmet";
        QTest::newRow("combo text") << "ComboBox1"
                                    << "Text" << int(pkText) << "Vælg kategori";
        QTest::newRow("combo items") << "ComboBox1"
                                     << "Items" << int(pkStringList) << "Alle kategorier|Antikviteter|Bøger";
        QTest::newRow("edit text") << "Edit1"
                                   << "text" << int(pkText) << "";
        QTest::newRow("navigator hints") << "DBNavigator1"
                                         << "Hints" << int(pkStringList) << "";
        QTest::newRow("warning") << "AboutBox1"
                                 << "WARNING" << int(pkText) << "Advarsel: ophavsret";
        QTest::newRow("other Qt property") << "Label1"
                                           << "WordWrap" << int(pkOther) << "";
        QTest::newRow("page control has no caption") << "PageControl1"
                                                     << "Caption" << int(pkNone) << "";
        QTest::newRow("unknown") << "Label1"
                                 << "Colour" << int(pkNone) << "";
    }
    void vocabulary() {
        QFETCH(QString, component);
        QFETCH(QString, property);
        QFETCH(int, kind);
        QFETCH(QString, value);
        TTestWindow window;
        QObject* object = component.isEmpty() ? &window : ComponentModel::FindComponent(&window, component);
        QVERIFY(object != nullptr);
        QCOMPARE(int(PropertyAdapter::Kind(object, property)), kind);
        if (kind == pkText) {
            QCOMPARE(PropertyAdapter::Text(object, property), value);
            PropertyAdapter::SetText(object, property, QStringLiteral("X y"));
            QCOMPARE(PropertyAdapter::Text(object, property), QStringLiteral("X y"));
        } else if (kind == pkStringList) {
            QCOMPARE(PropertyAdapter::Lines(object, property).join(QLatin1Char('|')), value);
            PropertyAdapter::SetLines(object, property, {QStringLiteral("p"), QStringLiteral("q")});
            QCOMPARE(PropertyAdapter::Lines(object, property), QStringList({"p", "q"}));
        }
    }

    void textsReachTheWidgets() {
        TTestWindow window;
        PropertyAdapter::SetText(window.TabSheet1, QStringLiteral("Caption"), QStringLiteral("Books"));
        PropertyAdapter::SetText(window.Filer1, QStringLiteral("Caption"), QStringLiteral("&File"));
        PropertyAdapter::SetText(&window, QStringLiteral("Caption"), QStringLiteral("Main"));
        PropertyAdapter::SetText(window.ComboBox1, QStringLiteral("Text"), QStringLiteral("Choose"));
        QCOMPARE(window.PageControl1->tabText(0), QStringLiteral("Books"));
        QCOMPARE(window.Filer1->menuAction()->text(), QStringLiteral("&File"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Main"));
        QCOMPARE(window.ComboBox1->lineEdit()->text(), QStringLiteral("Choose"));
    }

    void actionWithoutOwnHint() {
        QAction action(QStringLiteral("&Gem..."));
        QCOMPARE(PropertyAdapter::Text(&action, QStringLiteral("Hint")), QString());
        action.setToolTip(QStringLiteral("Gem tingen"));
        QCOMPARE(PropertyAdapter::Text(&action, QStringLiteral("Hint")), QStringLiteral("Gem tingen"));
    }

    void textOnlyWherePublished() {
        QWidget window;
        auto* data = new TDataEdit(QStringLiteral("Sofa"), &window);
        auto* search = new TSearchEdit(QStringLiteral("so"), &window);
        auto* group = new QGroupBox(QStringLiteral("Sortering"), &window);
        auto* dataText = new TDataText(QStringLiteral("Sofa"), &window);
        auto* hidden = new THiddenCaption(QStringLiteral("OK"), &window);
        QCOMPARE(PropertyAdapter::Kind(data, QStringLiteral("Text")), pkNone);
        QCOMPARE(PropertyAdapter::Kind(dataText, QStringLiteral("Caption")), pkNone);
        QCOMPARE(PropertyAdapter::Kind(hidden, QStringLiteral("Caption")), pkNone);
        QCOMPARE(PropertyAdapter::Kind(hidden, QStringLiteral("Hint")), pkText);
        auto* prompt = new TPromptCombo(&window);
        prompt->setEditable(true);
        prompt->setEditText(QStringLiteral("typed"));
        PropertyAdapter::SetText(prompt, QStringLiteral("Text"), QStringLiteral("Choose"));
        QCOMPARE(prompt->m_prompt, QStringLiteral("Choose"));
        QCOMPARE(prompt->currentText(), QStringLiteral("typed"));
        QCOMPARE(PropertyAdapter::Text(search, QStringLiteral("Text")), QStringLiteral("so"));
        QCOMPARE(PropertyAdapter::Text(group, QStringLiteral("Caption")), QStringLiteral("Sortering"));
    }

    void comboLinesKeepTheirData() {
        TTestWindow window;
        PropertyAdapter::SetLines(window.ComboBox1, QStringLiteral("Items"), {"a", "b"});
        QCOMPARE(window.ComboBox1->count(), 2);
        QCOMPARE(window.ComboBox1->itemData(1).toInt(), 11);
        PropertyAdapter::SetLines(window.ComboBox1, QStringLiteral("Items"), {"a", "b", "c", "d"});
        QCOMPARE(window.ComboBox1->itemText(3), QStringLiteral("d"));
        QCOMPARE(window.ComboBox1->itemData(0).toInt(), 10);
    }

    void fontAndDirection() {
        QWidget window;
        auto* label = new QLabel(&window);
        QVERIFY(PropertyAdapter::ParentFont(label));
        QFont bigger = window.font();
        bigger.setPointSize(bigger.pointSize() + 7);
        PropertyAdapter::SetParentFont(label, false);
        window.setFont(bigger);
        QVERIFY(!PropertyAdapter::ParentFont(label));
        QVERIFY(label->font().pointSize() != bigger.pointSize()); // keeps its own font
        PropertyAdapter::SetParentFont(label, true);
        QCOMPARE(label->font().pointSize(), bigger.pointSize());

        PropertyAdapter::SetFontCharSet(label, 204);
        QCOMPARE(PropertyAdapter::FontCharSet(label), 204);
        QCOMPARE(PropertyAdapter::FontCharSet(&window), 1);

        PropertyAdapter::SetBiDiMode(&window, 2);
        QCOMPARE(PropertyAdapter::BiDiMode(&window), 2);
        QCOMPARE(label->layoutDirection(), Qt::RightToLeft); // inherited
        QVERIFY(PropertyAdapter::ParentBiDiMode(label));
        PropertyAdapter::SetParentBiDiMode(label, false);
        PropertyAdapter::SetBiDiMode(&window, 0);
        QCOMPARE(label->layoutDirection(), Qt::RightToLeft);
        PropertyAdapter::SetParentBiDiMode(label, true);
        QCOMPARE(label->layoutDirection(), Qt::LeftToRight);
    }

    void componentsOfAWindow() {
        TTestWindow window;
        auto* dialog = new QDialog(&window);
        auto* foreign = new QLabel(dialog);
        foreign->setObjectName(QStringLiteral("Foreign1"));
        auto* frame = new QWidget(&window);
        frame->setObjectName(QStringLiteral("SearchFrame"));
        frame->setProperty("componentFrame", true);
        auto* framed = new QPushButton(frame);
        framed->setObjectName(QStringLiteral("Button1"));

        QCOMPARE(ComponentModel::FindComponent(&window, QStringLiteral("BUTTON1")), window.Button1);
        QCOMPARE(ComponentModel::FindComponent(&window, QStringLiteral("afslut1")), window.Afslut1);
        QVERIFY(ComponentModel::FindComponent(&window, QStringLiteral("Foreign1")) == nullptr);
        QVERIFY(ComponentModel::FindComponent(&window, QString()) == nullptr);
        QCOMPARE(ComponentModel::FindComponent(frame, QStringLiteral("button1")), framed);

        QStringList names;
        for (QObject* component : ComponentModel::Components(&window)) {
            if (!component->objectName().isEmpty()) {
                names << component->objectName();
            }
        }
        QCOMPARE(names, QStringList({"MainMenu1", "Filer1", "Afslut1", "Label1", "Label2", "Button1",
                                     "PageControl1", "TabSheet1", "ComboBox1", "Edit1", "DBNavigator1",
                                     "AboutBox1", "SearchFrame"}));

        QCOMPARE(ComponentModel::Window(window.Afslut1), &window);
        QCOMPARE(ComponentModel::Window(window.Filer1), &window);
        QCOMPARE(ComponentModel::Owner(framed), frame);
        QCOMPARE(ComponentModel::Owner(window.ComboBox1), &window);
        QCOMPARE(ComponentModel::ComponentPath(framed, &window), QStringLiteral("SearchFrame.Button1"));
        QCOMPARE(ComponentModel::ComponentPath(window.ComboBox1, &window), QStringLiteral("ComboBox1"));
        QCOMPARE(ComponentModel::ComponentPath(&window, &window), QStringLiteral("Form1"));
        frame->setObjectName(QString());
        QCOMPARE(ComponentModel::ComponentPath(framed, &window), QString());
        QCOMPARE(ComponentModel::ComponentPath(foreign, &window), QString());
    }
};

HABITRA_TEST(TPropertyAdapterTest)
#include "PropertyAdapterTest.moc"
