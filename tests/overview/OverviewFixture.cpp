#include "OverviewFixture.h"

#include "overview/Unit2.h"
#include "store/FormatSettings.h"
#include "store/Schema.h"
#include "store/Sqlite.h"

std::vector<TItem> StandardItems() {
    return {
        {"Stol", "Antikviteter", ""},    {"Gammel LAMPE", "Møbler", ""},
        {"ØRESTAD kort", "Diverse", ""}, {"Bog om haver", "Bøger", "findes i noten"},
        {"Lampeskærm", "Bøger", ""},     {"Trøje 100% uld", "Tøj/Sko", ""},
    };
}

TOverviewFixture::TOverviewFixture(const std::vector<TItem>& items) {
    {
        TSqliteDatabase db;
        db.Open(Folder.FilePath("Data/Habitra.db"));
        TTransaction transaction(db);
        TSqliteStatement insert(
            db, "INSERT INTO Habitra (Beskrivelse, Kategori, Notater, Foto) VALUES (?,?,?,?)");
        qint64 foto = 0;
        for (const TItem& item : items) {
            insert.BindAll({item.Beskrivelse, item.Kategori,
                            item.Notater.isEmpty() ? QVariant() : item.Notater, QVariant(++foto)});
            insert.Execute();
            insert.Reset();
        }
        transaction.Commit();
    }
    HabitraTable.Open();
    ConfigTable.Open();
}

TOverviewFixture::~TOverviewFixture() = default;

TForm2& TOverviewFixture::Form() {
    if (!m_form) {
        m_form = std::make_unique<TForm2>(Register, nullptr);
    }
    return *m_form;
}

qint64 TOverviewFixture::CurrentFoto() const {
    return HabitraTable.FieldByName("Foto")->AsInteger();
}

bool TOverviewFixture::GoToFoto(qint64 foto) {
    const int field = HabitraTable.FieldByName("Foto")->Index();
    for (int row = 0; row < HabitraTable.RecordCount(); ++row) {
        if (HabitraTable.RowValue(row, field).toLongLong() == foto) {
            HabitraTable.SetRecNo(row + 1);
            return true;
        }
    }
    return false;
}

std::vector<qint64> TOverviewFixture::Fotos() const {
    std::vector<qint64> fotos;
    const int field = HabitraTable.FieldByName("Foto")->Index();
    for (int row = 0; row < HabitraTable.RecordCount(); ++row) {
        fotos.push_back(HabitraTable.RowValue(row, field).toLongLong());
    }
    return fotos;
}
