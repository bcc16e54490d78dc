#include "support/AboutBox.h"
#include "ModalAnswerer.h"
#include "TestRegistry.h"
#include "support/AboutFormU.h"
#include "toolkit/Platform.h"
#include "toolkit/PropertyAdapter.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
class TPlatformDouble : public TPlatform {
public:
    explicit TPlatformDouble(bool starts) : m_starts(starts) {}
    bool OpenDocument(const QString& pathOrUrl) override {
        Opened << pathOrUrl;
        return true;
    }
    bool StartProgram(const QString& program, const QStringList&) override {
        Started << program;
        return m_starts;
    }
    void PrintPreview(QPrinter&, const std::function<void(QPrinter&)>&) override {}
    QStringList Opened;
    QStringList Started;

private:
    bool m_starts;
};

// Installs a platform double for the lifetime of the object.
struct TPlatformScope {
    explicit TPlatformScope(bool starts) {
        auto platform = std::make_unique<TPlatformDouble>(starts);
        Double = platform.get();
        m_previous = TPlatform::Install(std::move(platform));
    }
    ~TPlatformScope() { TPlatform::Install(std::move(m_previous)); }
    TPlatformDouble* Double;

private:
    std::unique_ptr<TPlatform> m_previous;
};

QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    return image;
}
} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void captionAndName() {
        TAboutBox box(nullptr);
        box.SetAppName(QStringLiteral("Habitra"));
        box.SetUrl(QStringLiteral("https://example.org/habitra"));
        TAboutWnd window(box);
        QCOMPARE(window.windowTitle(), QStringLiteral("About Habitra ®"));
        QCOMPARE(window.lblAppName->text(), QStringLiteral("Habitra ®"));
        QCOMPARE(window.lblUrl->text(), QStringLiteral("https://example.org/habitra"));
        QCOMPARE(window.lblUrl->toolTip(), QStringLiteral("https://example.org/habitra"));
        QCOMPARE(window.lblWarning->text(), box.Warning());
        QVERIFY(!box.Warning().isEmpty());
    }

    void warningIsTranslatableByName() {
        TAboutBox box(nullptr);
        QVERIFY(PropertyAdapter::HasProperty(&box, QStringLiteral("Warning")));
        PropertyAdapter::SetText(&box, QStringLiteral("Warning"),
                                 QStringLiteral("Warning: protected by copyright."));
        QCOMPARE(box.Warning(), QStringLiteral("Warning: protected by copyright."));
        QVERIFY(!PropertyAdapter::HasProperty(&box, QStringLiteral("Caption")));
    }

    void versionText() {
        QCOMPARE(TAboutWnd::VersionText(TFileVersion{2, 5, 0, 7}), QStringLiteral("2.5 (Build: 0.7)"));
        QCOMPARE(TAboutWnd::VersionText(std::nullopt), QString());

        TAboutBox box(nullptr);
        TAboutWnd window(box);
        window.show();
        QVERIFY(window.lblVersionInfo->isVisible());
        QCOMPARE(window.lblVersion->text(), TAboutWnd::VersionText(TAboutWnd::ProgramVersion()));
        window.ShowVersion(QString());
        QVERIFY(!window.lblVersionInfo->isVisible());
        QVERIFY(window.lblVersion->text().isEmpty());
    }

    void picture_data() {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<bool>("frameShown");
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("none") << QImage() << QSize(297, 321) << false << 2 << 0 << 0;
        QTest::newRow("60 x 200") << Picture(60, 200) << QSize(309, 321) << true << 62 << 12 << 0;
        QTest::newRow("taller") << Picture(48, 260) << QSize(297, 381) << true << 50 << 0 << 60;
        QTest::newRow("shorter") << Picture(60, 120) << QSize(309, 321) << true << 62 << 12 << 0;
        QTest::newRow("narrower") << Picture(30, 200) << QSize(279, 321) << true << 32 << -18 << 0;
    }

    void picture() {
        QFETCH(QImage, picture);
        QFETCH(QSize, windowSize);
        QFETCH(bool, frameShown);
        QFETCH(int, frameWidth);
        QFETCH(int, dx);
        QFETCH(int, dy);
        TAboutBox box(nullptr);
        box.SetPicture(picture);
        TAboutWnd window(box);
        QCOMPARE(window.size(), windowSize);
        QCOMPARE(window.bvlOuter->isHidden(), !frameShown);
        QCOMPARE(window.bvlOuter->width(), frameWidth);
        QCOMPARE(window.imgApp->height(), picture.isNull() ? 0 : qMax(200, picture.height()));
        QCOMPARE(window.lblAppName->pos(), QPoint(64 + dx, 8));
        QCOMPARE(window.lblUrl->pos(), QPoint(64 + dx, 80));
        QCOMPARE(window.btnSysInfo->geometry(), QRect(136 + dx, 288 + dy, 73, 23));
        QCOMPARE(window.btnOk->geometry(), QRect(216 + dx, 288 + dy, 73, 23));
        QCOMPARE(window.lblWarning->geometry(), QRect(8, 224 + dy, 281 + dx, 61));
    }

    void builtInPicture() { QCOMPARE(TAboutBox::DefaultPicture().size(), QSize(60, 200)); }

    void urlOpensThroughTheDesktop() {
        TPlatformScope platform(true);
        TAboutBox box(nullptr);
        box.SetUrl(QStringLiteral("https://example.org/habitra"));
        TAboutWnd window(box);
        window.show();
        QTest::mouseClick(window.lblUrl, Qt::LeftButton);
        QCOMPARE(platform.Double->Opened, QStringList{QStringLiteral("https://example.org/habitra")});
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void systemInfo_data() {
        QTest::addColumn<bool>("starts");
        QTest::newRow("tool starts") << true;
        QTest::newRow("tool fails") << false;
    }

    void systemInfo() {
        QFETCH(bool, starts);
        // A machine with exactly one of the tools on its path.
        QTemporaryDir bin;
        const QString tool = bin.filePath(QStringLiteral("hardinfo"));
        QFile file(tool);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit());

        TPlatformScope platform(starts);
        TAboutBox box(nullptr);
        TAboutWnd window(box);
        window.show();
        TModalAnswerer answerer;
        QTest::mouseClick(window.btnSysInfo, Qt::LeftButton);
        qputenv("PATH", path);

        QCOMPARE(platform.Double->Started, QStringList{tool});
        if (starts) {
            QCOMPARE(answerer.Count(), 0);
        } else {
            QCOMPARE(answerer.Titles, QStringList{QStringLiteral("Fejl")});
            QCOMPARE(answerer.Texts, QStringList{QStringLiteral("Could not execute system information!")});
        }
        QVERIFY(window.isVisible());
    }

    void showAboutIsModalAndClosesOnEscape() {
        TAboutBox box(nullptr);
        box.SetAppName(QStringLiteral("Habitra"));
        QString title;
        QTimer::singleShot(50, [&title] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                title = modal->windowTitle();
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        box.ShowAbout();
        QCOMPARE(title, QStringLiteral("About Habitra ®"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

HABITRA_TEST(TestAboutBox)
#include "AboutBoxTest.moc"
