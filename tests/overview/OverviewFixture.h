#pragma once

#include "ProgramFolder.h"
#include "register/Register.h"
#include "store/DataSource.h"
#include "store/FormatSettings.h"
#include "store/Table.h"

#include <QString>
#include <memory>
#include <vector>

class TForm2;

struct TItem {
    QString Beskrivelse;
    QString Kategori;
    QString Notater;
};

// Six items, Foto 1 to 6 in file order:
//   1 "Stol" Antikviteter; 2 "Gammel LAMPE" Møbler; 3 "ØRESTAD kort" Diverse;
//   4 "Bog om haver" Bøger (note "findes i noten"); 5 "Lampeskærm" Bøger; 6 "Trøje 100% uld" Tøj/Sko.
std::vector<TItem> StandardItems();

// A program folder whose item table holds the given items (Foto = position + 1), and a register
// over it with the item and settings tables open.
class TOverviewFixture {
public:
    explicit TOverviewFixture(const std::vector<TItem>& items = StandardItems());
    ~TOverviewFixture();

    // The overview window on the fixture's tables (made on first use).
    TForm2& Form();
    qint64 CurrentFoto() const;
    // Moves to the item with the given Foto; false when it is not in the current set.
    bool GoToFoto(qint64 foto);
    // Foto of each record of the current set, in order.
    std::vector<qint64> Fotos() const;

    TProgramFolder Folder;
    TRegister Register{TFormatSettings::Danish(), Folder.DataPath()};
    TTable& HabitraTable = Register.HabitraTable();
    TDataSource& HabitraSource = Register.HabitraSource();
    TTable& ConfigTable = Register.ConfigTable();

private:
    std::unique_ptr<TForm2> m_form;
};
