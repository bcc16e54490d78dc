// Imports a file into <data folder> in one transaction, printing "progress N" every few rows and
// "committed N" once the import has returned; slowed down so that a kill lands inside the import.
#include "ImportFixture.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: import_runner <data folder> <file>\n");
        return 2;
    }
    try {
        TImportFixture fixture(QString::fromLocal8Bit(argv[1]));
        const TImportSession session = fixture.Session(QString::fromLocal8Bit(argv[2]));
        const TImportResult result = fixture.Write(session, [](int done, int) {
            std::printf("progress %d\n", done);
            std::fflush(stdout);
            QThread::msleep(3);
            return true;
        });
        std::printf("committed %d\n", result.Imported);
        std::fflush(stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
