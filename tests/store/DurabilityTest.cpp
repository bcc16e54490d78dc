#include "StoreFixture.h"
#include "TestRegistry.h"

#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QThread>

// A process killed while posting loses at most the item it had not finished, and never the file.
class TDurabilityTest : public QObject {
    Q_OBJECT
private slots:
    void KilledWhilePosting_data();
    void KilledWhilePosting();
};

void TDurabilityTest::KilledWhilePosting_data() {
    QTest::addColumn<int>("run");
    for (int run = 1; run <= 5; ++run) {
        QTest::addRow("run %d", run) << run;
    }
}

void TDurabilityTest::KilledWhilePosting() {
    QFETCH(int, run);
    TProgramFolder folder;
    const QString poster =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("store_poster"));
    QVERIFY2(QFileInfo(poster).isExecutable(), qPrintable(poster));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    const int killAfter = random.bounded(3, 40);
    const int delayMicroseconds = random.bounded(0, 20000);
    qInfo("run %d: kill after %d items and %d us (seed %u)", run, killAfter, delayMicroseconds, seed);

    QProcess child;
    child.start(poster, {folder.DataPath()});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    QElapsedTimer waited;
    waited.start();
    while (output.count('\n') < killAfter) {
        QVERIFY2(child.state() == QProcess::Running, child.readAllStandardError().constData());
        QVERIFY2(waited.elapsed() < 60000, "the poster is too slow");
        child.waitForReadyRead(100);
        output += child.readAllStandardOutput();
    }
    QThread::usleep(delayMicroseconds);
    child.kill(); // SIGKILL
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    output += child.readAllStandardOutput();

    // Only whole lines were acknowledged.
    QSet<qint64> acknowledged;
    const QList<QByteArray> lines = output.left(output.lastIndexOf('\n') + 1).split('\n');
    for (const QByteArray& line : lines) {
        if (!line.isEmpty()) {
            acknowledged.insert(line.toLongLong());
        }
    }
    QVERIFY(acknowledged.size() >= killAfter);

    // The first connection rolls back what the killed process left half done.
    const QString path = QDir(folder.DataPath()).filePath(Schema::ItemFile);
    QCOMPARE(QueryFile(path, QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});

    TTable table;
    OpenTable(table, folder.DataPath(), Schema::ItemFile);
    QSet<qint64> stored;
    for (table.First(); !table.Eof(); table.Next()) {
        const qint64 foto = table.FieldByName(QStringLiteral("Foto"))->AsInteger();
        stored.insert(foto);
        // Every stored item is whole.
        QCOMPARE(table.FieldByName(QStringLiteral("Beskrivelse"))->AsString(),
                 QStringLiteral("Stol %1").arg(foto));
        QCOMPARE(table.FieldByName(QStringLiteral("Vaerdi"))->AsMoney().Cents(), foto * 101);
        QCOMPARE(table.FieldByName(QStringLiteral("Notater"))->AsString().size(), 21 * 300);
    }
    for (const qint64 foto : acknowledged) {
        QVERIFY2(stored.contains(foto),
                 qPrintable(QStringLiteral("item %1 was acknowledged but is lost").arg(foto)));
    }
    // At most the one item whose Post had not returned may be there in addition.
    QVERIFY(stored.size() <= acknowledged.size() + 1);
}

HABITRA_TEST(TDurabilityTest)
#include "DurabilityTest.moc"
