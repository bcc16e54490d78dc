#include "ImportFixture.h"
#include "TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

// A process killed while it imports leaves the item table and the counter exactly as they were.
class TKillTest : public QObject {
    Q_OBJECT
private slots:
    void KilledDuringImport_data();
    void KilledDuringImport();
};

void TKillTest::KilledDuringImport_data() {
    QTest::addColumn<int>("run");
    for (int run = 1; run <= 4; ++run) {
        QTest::addRow("run %d", run) << run;
    }
}

void TKillTest::KilledDuringImport() {
    QFETCH(int, run);
    const QString runner =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("import_runner"));
    QVERIFY2(QFileInfo(runner).isExecutable(), qPrintable(runner));
    constexpr int rows = 6000;
    QString data;
    QString file;
    QStringList before;
    QList<qint64> numbersBefore;
    QTemporaryDir dir;
    {
        data = QDir(dir.path()).filePath(QStringLiteral("Data"));
        QDir().mkpath(data);
        TImportFixture fixture(data);
        QByteArray bytes("Beskrivelse;Vaerdi;Kategori\n");
        for (int i = 0; i < 3; ++i) {
            bytes += "Gammel " + QByteArray::number(i) + ";1,00;Møbler\n";
        }
        const QString seed = fixture.WriteFile(QStringLiteral("seed.txt"), bytes);
        QCOMPARE(fixture.Write(fixture.Session(seed)).Imported, 3);
        bytes = "Beskrivelse;Vaerdi;Kategori\n";
        for (int i = 0; i < rows; ++i) {
            bytes +=
                "Ny ting nummer " + QByteArray::number(i) + ";" + QByteArray::number(i) + ",50;Værktøj\n";
        }
        file = fixture.WriteFile(QStringLiteral("import.txt"), bytes);
        before = fixture.StoredItems();
        numbersBefore = fixture.CounterNumbers();
    }
    const quint32 seed = QRandomGenerator::global()->generate();
    const int killAfter = QRandomGenerator(seed).bounded(1, rows / 256);
    qInfo("run %d: kill after %d progress lines (seed %u)", run, killAfter, seed);

    QProcess child;
    child.start(runner, {data, file});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    QElapsedTimer waited;
    waited.start();
    while (output.count("progress") < killAfter && !output.contains("committed")) {
        QVERIFY2(child.state() == QProcess::Running, child.readAllStandardError().constData());
        QVERIFY2(waited.elapsed() < 60000, "the import is too slow");
        child.waitForReadyRead(50);
        output += child.readAllStandardOutput();
    }
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY2(!output.contains("committed"), "the import ended before the kill; nothing was tested");

    // Opening the tables rolls back what the killed process left half done, in both files.
    TImportFixture after(data);
    QCOMPARE(after.StoredItems(), before);
    QCOMPARE(after.CounterNumbers(), numbersBefore);
    QCOMPARE(after.Items().RecordCount(), 3);
}

HABITRA_TEST(TKillTest)
#include "KillTest.moc"
