// Creates the tables of a program folder's Data/ that do not exist yet. Run by the installation.
#include "store/Error.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: habitra-tables DATA-FOLDER\n");
        return 2;
    }
    try {
        for (const QString& file : Schema::CreateMissingTables(args.at(1))) {
            std::printf("created %s\n", qPrintable(file));
        }
    } catch (const EHabitraError& error) {
        std::fprintf(stderr, "habitra-tables: %s\n", error.what());
        return 1;
    }
    return 0;
}
