// Posts items into <data folder>/Habitra.db until it is killed, printing each picture number
// once Post has returned.
#include "store/Schema.h"
#include "store/Table.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: store_poster <data folder>\n");
        return 2;
    }
    try {
        TTable table;
        table.SetDatabaseName(QString::fromLocal8Bit(argv[1]));
        table.SetTableName(Schema::ItemFile);
        table.SetFieldDefs(Schema::ItemFields());
        table.Open();
        // A long note spreads each item over several pages of the file.
        const QString notes = QStringLiteral("Kvittering i mappen. ").repeated(300);
        for (qint64 foto = 1;; ++foto) {
            table.Insert();
            table.FieldByName(QStringLiteral("Foto"))->SetAsInteger(foto);
            table.FieldByName(QStringLiteral("Kategori"))->SetAsString(QStringLiteral("Møbler"));
            table.FieldByName(QStringLiteral("Beskrivelse"))
                ->SetAsString(QStringLiteral("Stol %1").arg(foto));
            table.FieldByName(QStringLiteral("Vaerdi"))->SetAsMoney(TMoney::FromCents(foto * 101));
            table.FieldByName(QStringLiteral("Notater"))->SetAsString(notes);
            table.Post();
            std::printf("%lld\n", static_cast<long long>(foto));
            std::fflush(stdout);
            if (foto % 7 == 0) {
                // Rewrite an earlier item too, so that the kill may also land in an update.
                table.First();
                table.Edit();
                table.FieldByName(QStringLiteral("Model"))
                    ->SetAsString(QStringLiteral("Rettet %1").arg(foto));
                table.Post();
                table.Last();
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
