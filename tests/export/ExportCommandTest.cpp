#include "export/ExportCommand.h"
#include "ExportFixture.h"
#include "TestRegistry.h"
#include "export/DataExportASCII.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace {
// Answers the modal windows that come up, one handler each, in order. A modal window without a handler
// is recorded and closed, so a test never hangs.
class TModalAnswers : public QObject {
public:
    using THandler = std::function<void(QWidget*)>;
    explicit TModalAnswers(std::deque<THandler> handlers) : m_handlers(std::move(handlers)) {
        connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start(5);
    }
    QStringList Unexpected;
    int Answered = 0;

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last) {
            return;
        }
        m_last = modal;
        if (m_handlers.empty()) {
            Unexpected << modal->windowTitle();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
            return;
        }
        const THandler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        ++Answered;
        handler(modal);
    }

    std::deque<THandler> m_handlers;
    QPointer<QWidget> m_last;
    QTimer m_timer;
};

class TWorkingDirectory {
public:
    explicit TWorkingDirectory(const QString& path) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~TWorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

QLineEdit* EditOf(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>();
}

QPushButton* ButtonOf(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The message box's text, and its buttons' texts.
struct TBoxSeen {
    QString Title;
    QString Text;
    QString Shown; // the text of the box's label, as on screen
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons;
    size_t OpenedBefore = 0;
};

TModalAnswers::THandler ReadBox(TBoxSeen& seen, const TRecordingPlatform* platform = nullptr) {
    return [&seen, platform](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        QVERIFY(box != nullptr);
        seen.Title = box->windowTitle();
        const QVariant composed = box->property("composedText");
        seen.Text = composed.isValid() ? composed.toString() : box->text();
        if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen.Shown = label->text();
        }
        seen.Icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.Buttons << button->text();
        }
        seen.OpenedBefore = platform ? platform->Opened.size() : 0;
        box->accept();
    };
}
} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void AsksExportsOpensAndConfirms() {
        TPlatformScope platform;
        TItemTable items;
        items.Add({QStringLiteral("Ur"), {}, {}, {}, {}, {}, std::nullopt, {}, 3, QStringLiteral("Andet")});
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        TWorkingDirectory cwd(dir.path());
        QString title, prompt, preset, selected, defaultButton;
        int maxLength = 0;
        QStringList buttons;
        TBoxSeen box;
        TModalAnswers answers({[&](QWidget* dialog) {
                                   title = dialog->windowTitle();
                                   prompt = dialog->findChild<QLabel*>()->text();
                                   QLineEdit* edit = EditOf(dialog);
                                   preset = edit->text();
                                   selected = edit->selectedText();
                                   maxLength = edit->maxLength();
                                   for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                                       buttons << button->text();
                                       if (button->isDefault()) {
                                           defaultButton = button->text();
                                       }
                                   }
                                   QTest::keyClick(edit, Qt::Key_Backspace);
                                   QTest::keyClicks(edit, QStringLiteral("ud/liste.txt"));
                                   QTest::keyClick(edit, Qt::Key_Return);
                               },
                               ReadBox(box, &platform.Platform())});
        QVERIFY(RunExportCommand(*exporter));
        QCOMPARE(title, QStringLiteral("Data export til semikolon separeret fil"));
        QCOMPARE(prompt, QStringLiteral("Skriv et filnavn f.eks. Habitra.txt"));
        QCOMPARE(preset, QStringLiteral("Habitra.txt"));
        QCOMPARE(selected, QStringLiteral("Habitra.txt"));
        QCOMPARE(maxLength, 255);
        QCOMPARE(buttons, QStringList({"OK", "Annuller"}));
        QCOMPARE(defaultButton, QStringLiteral("OK"));
        QCOMPARE(Lines(ReadFile(dir.filePath(QStringLiteral("ud/liste.txt")))).size(), 2);
        QCOMPARE(box.Title, QStringLiteral("Information"));
        QCOMPARE(box.Icon, QMessageBox::Information);
        QCOMPARE(box.Buttons, QStringList({"OK"}));
        QCOMPARE(box.Text,
                 QStringLiteral("Data er exporteret til ud/liste.txt\n\rFilen kan evt. importeres i et "
                                "Excel regneark."));
        // On screen: two lines, the file name on the first, with no empty line between them.
        QCOMPARE(box.Shown.split(QLatin1Char('\n')),
                 QStringList({QStringLiteral("Data er exporteret til ud/liste.txt"),
                              QStringLiteral("Filen kan evt. importeres i et Excel regneark.")}));
        QCOMPARE(box.OpenedBefore, size_t(1));
        QVERIFY(answers.Unexpected.isEmpty());
    }

    // Annuller, Escape and the close box end the command: no file, no message.
    void CancelWritesNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Annuller") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void CancelWritesNothing() {
        QFETCH(int, how);
        TPlatformScope platform;
        TItemTable items;
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        TWorkingDirectory cwd(dir.path());
        TModalAnswers answers({[how](QWidget* dialog) {
            switch (how) {
            case 0:
                QTest::mouseClick(ButtonOf(dialog, QStringLiteral("Annuller")), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(EditOf(dialog), Qt::Key_Escape);
                break;
            case 2:
                dialog->close();
                break;
            }
        }});
        QVERIFY(!RunExportCommand(*exporter));
        QCOMPARE(answers.Answered, 1);
        // Let a box that was wrongly shown come up before looking.
        QTest::qWait(30);
        QVERIFY2(answers.Unexpected.isEmpty(), qPrintable(answers.Unexpected.join(QLatin1Char(','))));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(platform.Platform().Opened.empty());
    }

    // A long export shows its progress; Cancel there stops it, leaves no file and says so.
    void ProgressDialogCancels() {
        TPlatformScope platform;
        TItemTable items;
        items.AddMany(20000, [](int i) {
            return TItem{QStringLiteral("Ting %1").arg(i), {}, {}, {}, {}, {}, i, {}, i, QStringLiteral("A")};
        });
        items.Table().SetRecNo(3);
        auto exporter = MakeExporter(items.Table());
        QTemporaryDir dir;
        TWorkingDirectory cwd(dir.path());
        QString title, label;
        QStringList buttons;
        TBoxSeen box;
        TModalAnswers answers({[](QWidget* dialog) { QTest::keyClick(EditOf(dialog), Qt::Key_Return); },
                               [&](QWidget* dialog) {
                                   title = dialog->windowTitle();
                                   label = dialog->findChild<QLabel*>()->text();
                                   for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                                       buttons << button->text();
                                   }
                                   QTest::mouseClick(ButtonOf(dialog, QStringLiteral("Annuller")),
                                                     Qt::LeftButton);
                               },
                               ReadBox(box)});
        QVERIFY(!RunExportCommand(*exporter, nullptr, 0));
        QCOMPARE(title, QStringLiteral("Data eksport"));
        QCOMPARE(label, QStringLiteral("Genstandene skrives til filen ..."));
        QCOMPARE(buttons, QStringList{QStringLiteral("Annuller")});
        QCOMPARE(box.Text, ExportCommand::CancelledText());
        QCOMPARE(box.Icon, QMessageBox::Information);
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(platform.Platform().Opened.empty());
        QCOMPARE(items.Table().RecNo(), 3);
        QVERIFY(answers.Unexpected.isEmpty());
    }

    void EmptyNameShowsTheErrorOnly() {
        TPlatformScope platform;
        TItemTable items;
        auto exporter = MakeExporter(items.Table());
        TBoxSeen box;
        TModalAnswers answers({[](QWidget* dialog) {
                                   QTest::keyClick(EditOf(dialog), Qt::Key_Delete);
                                   QTest::mouseClick(ButtonOf(dialog, QStringLiteral("OK")), Qt::LeftButton);
                               },
                               ReadBox(box)});
        QVERIFY(!RunExportCommand(*exporter));
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QCOMPARE(box.Text, QStringLiteral("Cannot create file \"\". No such file or directory."));
        QTest::qWait(30);
        QVERIFY(answers.Unexpected.isEmpty());
        QVERIFY(platform.Platform().Opened.empty());
    }
};

HABITRA_TEST(ExportCommandTest)
#include "ExportCommandTest.moc"
