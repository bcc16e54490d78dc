#include "support/Easysize.h"
#include "TestRegistry.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <cfenv>
#include <memory>

namespace {
// A 400 x 300 window: a panel with an edit in it, a caption label, a right-aligned label, a control
// that fills the window, and a panel whose button a layout places.
struct TFixture {
    TFixture() {
        form.resize(400, 300);
        form.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        panel = Make<QFrame>("Panel1", &form, QRect(10, 20, 200, 100));
        edit = Make<QLineEdit>("Edit1", panel, QRect(5, 7, 100, 20));
        edit->setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        label = Make<QLabel>("Label1", &form, QRect(30, 150, 0, 0));
        label->setText(QStringLiteral("Beskrivelse"));
        label->adjustSize();
        rightLabel = Make<QLabel>("Label2", &form, QRect(50, 200, 100, 18));
        rightLabel->setText(QStringLiteral("Model"));
        rightLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        client = Make<QWidget>("Client", &form, QRect(0, 0, 400, 300));
        client->setProperty("align", QStringLiteral("client"));
        laidOut = Make<QFrame>("Panel2", &form, QRect(250, 20, 100, 40));
        button = Make<QWidget>("Button1", laidOut, QRect(0, 0, 10, 10));
        auto* layout = new QHBoxLayout(laidOut);
        layout->addWidget(button);
        laidOut->setObjectName(QStringLiteral("Panel2"));
        new QWidget(&form); // no name: one of Qt's own inner widgets, not a control
    }

    template <typename W> static W* Make(const char* name, QWidget* parent, const QRect& bounds) {
        auto* widget = new W(parent);
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(bounds);
        return widget;
    }

    QWidget form;
    QFrame* panel;
    QLineEdit* edit;
    QLabel* label;
    QLabel* rightLabel;
    QWidget* client;
    QFrame* laidOut;
    QWidget* button;
};
} // namespace

class TestEasysize : public QObject {
    Q_OBJECT

private slots:
    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("7.5 up to even") << 7.5 << 8;
        QTest::newRow("4.5 down to even") << 4.5 << 4;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("above half") << 4.500001 << 5;
        QTest::newRow("below half") << 7.499999 << 7;
    }

    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(RoundHalfEven(value), expected);
        // Same answer when another part of the process left a different rounding mode behind.
        const int saved = std::fegetround();
        std::fesetround(FE_UPWARD);
        const int upward = RoundHalfEven(value);
        std::fesetround(saved);
        QCOMPARE(upward, expected);
    }

    void recordsNamedControlsOnce() {
        TFixture f;
        TFormResizer resizer(&f.form);
        resizer.CaptureLayout();
        const QList<QWidget*> expected{f.panel, f.edit, f.label, f.rightLabel, f.client, f.laidOut, f.button};
        QCOMPARE(resizer.Controls(), expected);

        // A second capture at another size records nothing: scaling still starts from the first one.
        new QLabel(QStringLiteral("late"), &f.form);
        f.form.resize(800, 600);
        resizer.CaptureLayout();
        QCOMPARE(resizer.Controls(), expected);
        resizer.ScaleLayout();
        QCOMPARE(f.panel->geometry(), QRect(20, 40, 400, 200));
    }

    void scale_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("panel");
        QTest::addColumn<QRect>("edit");
        QTest::addColumn<int>("panelFont");
        QTest::addColumn<int>("editFont");
        QTest::newRow("twice the size")
            << QSize(800, 600) << QRect(20, 40, 400, 200) << QRect(10, 14, 200, 40) << 20 << 40;
        // 10 points give 5, raised to the floor of 8; 20 points give 10.
        QTest::newRow("half the height")
            << QSize(400, 150) << QRect(10, 10, 200, 50) << QRect(5, 4, 100, 10) << 8 << 10;
        QTest::newRow("wider only") << QSize(600, 300) << QRect(15, 20, 300, 100) << QRect(8, 7, 150, 20)
                                    << 10 << 20;
        // 20 points times 3 would be 60: held at 48.
        QTest::newRow("three times") << QSize(1200, 900) << QRect(30, 60, 600, 300) << QRect(15, 21, 300, 60)
                                     << 30 << 48;
    }

    void scale() {
        QFETCH(QSize, size);
        QFETCH(QRect, panel);
        QFETCH(QRect, edit);
        QFETCH(int, panelFont);
        QFETCH(int, editFont);
        TFixture f;
        TFormResizer resizer(&f.form);
        resizer.SetResizeFonts(true);
        resizer.CaptureLayout();
        f.form.resize(size);
        resizer.ScaleLayout();

        QCOMPARE(f.panel->geometry(), panel);
        QCOMPARE(f.edit->geometry(), edit);
        QCOMPARE(f.panel->font().pointSize(), panelFont);
        QCOMPARE(f.edit->font().pointSize(), editFont);
        QVERIFY(f.label->testAttribute(Qt::WA_SetFont)); // its own font now, no longer the window's
        const double wr = size.width() / 400.0;
        const double hr = size.height() / 300.0;
        // Labels: scaled place, fitted to their text in the new font.
        QCOMPARE(f.label->pos(), QPoint(RoundHalfEven(30 * wr), RoundHalfEven(150 * hr)));
        QCOMPARE(f.label->size(), f.label->sizeHint());
        QCOMPARE(f.rightLabel->size(), f.rightLabel->sizeHint());
        QCOMPARE(f.rightLabel->geometry().right() + 1, RoundHalfEven(50 * wr) + RoundHalfEven(100 * wr));
        QCOMPARE(f.rightLabel->y(), RoundHalfEven(200 * hr));
    }

    void halvesGoToTheEvenNeighbour() {
        TFixture f;
        QWidget* five = TFixture::Make<QWidget>("Five", &f.form, QRect(5, 0, 10, 10));
        QWidget* three = TFixture::Make<QWidget>("Three", &f.form, QRect(3, 0, 10, 10));
        TFormResizer resizer(&f.form);
        resizer.CaptureLayout();
        f.form.resize(600, 300);
        resizer.ScaleLayout();
        QCOMPARE(five->x(), 8);  // 7.5
        QCOMPARE(three->x(), 4); // 4.5
    }

    void backToRecordedSizeRestoresEverything() {
        TFixture f;
        const QList<QWidget*> controls{f.panel, f.edit, f.label, f.rightLabel};
        QList<QRect> bounds;
        QList<QFont> fonts;
        for (QWidget* control : controls) {
            bounds << control->geometry();
            fonts << control->font();
        }
        TFormResizer resizer(&f.form);
        resizer.SetResizeFonts(true);
        resizer.CaptureLayout();
        for (const QSize size : {QSize(800, 600), QSize(523, 311), QSize(173, 97), QSize(400, 300)}) {
            f.form.resize(size);
            resizer.ScaleLayout();
        }
        for (qsizetype i = 0; i < controls.size(); ++i) {
            QCOMPARE(controls[i]->geometry(), bounds[i]);
            QCOMPARE(controls[i]->font(), fonts[i]);
        }
        // Controls that followed the window's font follow it again.
        QVERIFY(!f.panel->testAttribute(Qt::WA_SetFont));
    }

    void controlsThatFillTheirParentAreLeftAlone() {
        TFixture f;
        TFormResizer resizer(&f.form);
        resizer.SetResizeFonts(true);
        resizer.CaptureLayout();
        f.client->setGeometry(0, 0, 800, 600); // as the window's own resize handling would
        const QRect button = f.button->geometry();
        f.form.resize(800, 600);
        resizer.ScaleLayout();
        QCOMPARE(f.client->geometry(), QRect(0, 0, 800, 600));
        QVERIFY(!f.client->testAttribute(Qt::WA_SetFont));
        QCOMPARE(f.button->geometry(), button);
        QVERIFY(!f.button->testAttribute(Qt::WA_SetFont));
        QCOMPARE(f.laidOut->geometry(), QRect(500, 40, 200, 80)); // the panel itself is scaled
    }

    void mainWindowFramePartsAreLeftToIt() {
        QMainWindow window;
        auto* central = new QWidget;
        central->setObjectName(QStringLiteral("centralwidget"));
        window.setCentralWidget(central);
        window.menuBar()->setObjectName(QStringLiteral("menubar"));
        window.menuBar()->addMenu(QStringLiteral("Filer"));
        QWidget* edit = TFixture::Make<QLineEdit>("DBEdit1", central, QRect(10, 20, 100, 20));
        window.resize(400, 300);
        TFormResizer resizer(&window);
        resizer.CaptureLayout();
        const QList<QWidget*> expected{central, edit, window.menuBar()};
        QCOMPARE(resizer.Controls(), expected);
        const QRect menuBar = window.menuBar()->geometry();
        const QRect client = central->geometry();
        window.resize(800, 600);
        resizer.ScaleLayout();
        QCOMPARE(window.menuBar()->geometry(), menuBar);
        QCOMPARE(central->geometry(), client);
        QCOMPARE(edit->geometry(), QRect(20, 40, 200, 40));
    }

    void fontsStayWithoutResizeFonts() {
        TFixture f;
        TFormResizer resizer(&f.form);
        QVERIFY(!resizer.ResizeFonts());
        resizer.CaptureLayout();
        f.form.resize(800, 600);
        resizer.ScaleLayout();
        QCOMPARE(f.panel->geometry(), QRect(20, 40, 400, 200));
        QCOMPARE(f.edit->font().pointSize(), 20);
        QCOMPARE(f.panel->font().pointSize(), 10);
        QVERIFY(!f.panel->testAttribute(Qt::WA_SetFont));
    }

    void enforceMinSizeKeepsTheRecordedSize() {
        TFixture f;
        TFormResizer resizer(&f.form);
        resizer.SetEnforceMinSize(true);
        resizer.CaptureLayout();
        f.form.resize(200, 500);
        resizer.ScaleLayout();
        QCOMPARE(f.form.size(), QSize(400, 500));
        QCOMPARE(f.panel->geometry(), QRect(10, 33, 200, 167));
    }

    void postResizeSeesEveryRecordEvenAGoneControl() {
        TFixture f;
        TFormResizer resizer(&f.form);
        resizer.CaptureLayout();
        delete f.edit;
        QList<QWidget*> seen;
        resizer.OnPostResize = [&](TFormResizer& sender, QWidget* control, double heightRatio,
                                   double widthRatio) {
            QCOMPARE(&sender, &resizer);
            QCOMPARE(heightRatio, 0.5);
            QCOMPARE(widthRatio, 2.0);
            seen << control;
        };
        f.form.resize(800, 150);
        resizer.ScaleLayout();
        const QList<QWidget*> expected{f.panel,  nullptr,   f.label, f.rightLabel,
                                       f.client, f.laidOut, f.button};
        QCOMPARE(seen, expected);
    }

    void misuse() {
        QObject plain;
        const auto message = [](const std::function<void()>& action) {
            try {
                action();
            } catch (const EResizerException& error) {
                return error.Message();
            }
            return QString();
        };
        QCOMPARE(message([] { TFormResizer resizer(nullptr); }),
                 QStringLiteral("TFormResizer created without an owner"));
        QCOMPARE(message([&] { TFormResizer resizer(&plain); }),
                 QStringLiteral("TFormResizer owner must be a panel or form"));
        QVERIFY(plain.children().isEmpty());
        QWidget form;
        TFormResizer resizer(&form);
        QCOMPARE(message([&] { TSingleResizer record(nullptr, &form, resizer); }),
                 QStringLiteral("TSingleResizer created without a component link"));
        QCOMPARE(message([&] { TSingleResizer record(&form, nullptr, resizer); }),
                 QStringLiteral("TSingleResizer created without a parent form link"));
    }
};

HABITRA_TEST(TestEasysize)
#include "EasysizeTest.moc"
