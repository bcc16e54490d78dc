#include "RegisterGenerator.h"

#include "store/Error.h"
#include "store/FormatSettings.h"
#include "store/Schema.h"
#include "store/Table.h"

#include <QDate>
#include <QDir>
#include <array>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace {
struct TCategoryTexts {
    QStringList Descriptions;
    QStringList Makes;
    QStringList Models;
    int MinKroner;
    int MaxKroner;
};

QStringList Words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

const std::vector<TCategoryTexts>& Texts() {
    static const std::vector<TCategoryTexts> texts{
        {Words("Kommode|Chatol|Bornholmerur|Sølvkande|Kobberkedel|Petroleumslampe|Spejl med forgyldt ramme"),
         Words("Ukendt|Royal Copenhagen|Georg Jensen|Bing & Grøndahl|Holmegaard"),
         Words("Empire|Rokoko|Biedermeier|Louis XVI"), 500, 60000},
        {Words("Kongens Fald|Det forsømte forår|Harry Potter og De Vises Sten|Kogebog for alle|Danmarks "
               "historie|Ordbog"),
         Words("Johannes V. Jensen|Hans Scherfig|J.K. Rowling|Karen Blixen|Peter Høeg"),
         Words("Gyldendal|Lindhardt og Ringhof|Politiken|Rosinante"), 50, 900},
        {Words("Paraply|Kuffert|Rygsæk|Legetøj|Julepynt|Telt"),
         Words("Samsonite|Fjällräven|LEGO|Brio|Ukendt"), Words("Classic|Kånken|Duplo|Technic"), 50, 4000},
        {Words("Spejlreflekskamera|Objektiv|Stativ|Kompaktkamera|Blitz"),
         Words("Canon|Nikon|Sony|Olympus|Pentax"), Words("EOS 5D|D750|A7 III|OM-D E-M10|K-1|EF 50mm f/1.8"),
         800, 30000},
        {Words("Plæneklipper|Hækkeklipper|Havetraktor|Trillebør|Havemøbelsæt|Grill"),
         Words("Husqvarna|Stihl|Gardena|Weber|Bosch"), Words("LC 140|HS 45|Spirit E-310|Rotak 32"), 200,
         40000},
        {Words("Køleskab|Fryser|Vaskemaskine|Opvaskemaskine|Tørretumbler|Komfur"),
         Words("Gram|Vestfrost|Miele|Bosch|Siemens|Electrolux"), Words("KF 3295-90|W1 Classic|SMV46|WTW 875"),
         2000, 15000},
        {Words("Maleri, landskab|Litografi|Bronzeskulptur|Akvarel|Keramikfad"),
         Words("Asger Jorn|Per Kirkeby|Ukendt kunstner|Kähler|Carl Larsson"),
         Words("Signeret|Nummereret 12/50|Original"), 1000, 150000},
        {Words("Kaffemaskine|Gryde sæt|Elkedel|Køkkenmaskine|Knivsæt|Blender"),
         Words("Bodum|Eva Solo|KitchenAid|Scanpan|Global|Philips"), Words("Chambord|Artisan|CTX|G-2|HR2100"),
         100, 6000},
        {Words("Bil|Cykel|Ladcykel|Knallert|Trailer|Elcykel"),
         Words("Volkswagen|Toyota|Christiania|Puch|Brenderup|Kildemoes"),
         Words("Golf|Yaris|Model Light|Maxi|1205S|Logic"), 1500, 250000},
        {Words("Klaver|Guitar|Violin|Trompet|Keyboard|Trommesæt"),
         Words("Yamaha|Fender|Gibson|Hornung & Møller|Roland"),
         Words("U1|Stratocaster|Les Paul|FP-30|Stage Custom"), 500, 60000},
        {Words("CD-samling|LP-plader|Kassettebånd|Blu-ray samling|DVD-boks"),
         Words("Gasolin'|Kim Larsen|Tv-2|Beatles|Diverse"),
         Words("Gasolin' 3|Midt om natten|Nattog til Venus"), 50, 5000},
        {Words("Sofa|Spisebord|Spisestol|Reol|Seng|Lænestol|Skrivebord|Sofabord"),
         Words("Fritz Hansen|Carl Hansen & Søn|BoConcept|IKEA|Hay|Montana"),
         Words("Ægget|Y-stolen|Billy|J77|Svanen|Panton"), 300, 40000},
        {Words("Bærbar computer|Skærm|Printer|Router|Tastatur|Ekstern harddisk"),
         Words("Lenovo|Dell|HP|Apple|Logitech|Western Digital"),
         Words("ThinkPad T14|XPS 13|LaserJet Pro|MacBook Air"), 200, 25000},
        {Words("Tekstbehandling|Regneark|Billedbehandling|Antivirus|Spil"),
         Words("Microsoft|Adobe|F-Secure|Ubisoft|Corel"),
         Words("Office 2021|Photoshop Elements|SAFE|CorelDRAW"), 100, 5000},
        {Words("Vase|Lysestage|Figur|Skål|Stager|Fad"), Words("Kähler|Lyngby|Kay Bojesen|Holmegaard|Iittala"),
         Words("Lyngbyvasen|Abe|Kastehelmi|Provence"), 100, 4000},
        {Words("Fjernsyn|Radio|Forstærker|Højttalere|Hjemmebiograf|Pladespiller"),
         Words("Bang & Olufsen|Philips|Sony|Dali|Denon|Pioneer"),
         Words("BeoVision 7|Beosound 9000|Zensor 5|PMA-600"), 500, 60000},
        {Words("Armbåndsur|Vielsesring|Halskæde|Ørestikker|Armbånd|Lommeur"),
         Words("Georg Jensen|Pandora|Omega|Skagen|Rolex|Seiko"), Words("Seamaster|Submariner|Daisy|Moments"),
         300, 90000},
        {Words("Ski|Golfsæt|Racercykel|Løbebånd|Telt|Kajak"),
         Words("Fischer|Ping|Trek|Nordictrack|Hilleberg|Prijon"), Words("RC4|G425|Domane SL6|C990|Nammatj 3"),
         300, 40000},
        {Words("Vinterjakke|Støvler|Habit|Kjole|Regntøj|Sko"),
         Words("Fjällräven|Ecco|Hugo Boss|Rains|Hummel"), Words("Greenland|Soft 7|Huntington|Classic"), 100,
         8000},
        {Words("Familiefilm|Optagelser fra ferie|Bryllupsvideo|Dokumentar|Spillefilm"),
         Words("VHS|Hi8|Betamax|Video 2000|Ukendt"), Words("E-180|E-240|Hi8 90|LP"), 20, 500},
        {Words("Boremaskine|Rundsav|Skruemaskine|Vinkelsliber|Værktøjskasse|Stige"),
         Words("Makita|Bosch|DeWalt|Festool|Milwaukee|Hultafors"), Words("DHP482|GSR 18V|DCD796|TS 55|M18"),
         100, 12000},
    };
    return texts;
}

const QStringList& Shops() {
    static const QStringList shops = Words(
        "Magasin|Illum|Føtex|Bilka|Elgiganten|Power|Silvan|Bauhaus|IKEA|Lauritz.com|DBA|Arv efter mormor|"
        "Gave|Jysk|Stilleben|Fona|Harald Nyborg|Punkt1|Saxo|Bog & idé|Antikhandler i Aarhus|Loppemarked");
    return shops;
}

const QStringList& Notes() {
    static const QStringList notes =
        Words("Kvittering ligger i mappen på kontoret.|Garantien udløber efter to år.|Arvestykke, ridse på "
              "venstre side.|"
              "Købt på udsalg.\r\nFaktura i skuffen.|Forsikret særskilt.|Serienummer også på bagsiden.|"
              "Vurderet af taksator i 2019.\tVurdering vedlagt.|Mangler original emballage.");
    return notes;
}

class TStatement {
public:
    TStatement(sqlite3* db, const char* sql) : m_db(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
            Fail();
        }
    }
    ~TStatement() { sqlite3_finalize(m_stmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    void Text(int index, const QString& text) {
        if (text.isEmpty()) {
            sqlite3_bind_null(m_stmt, index);
            return;
        }
        const QByteArray bytes = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    void Integer(int index, qint64 value) { sqlite3_bind_int64(m_stmt, index, value); }
    void Run() {
        if (sqlite3_step(m_stmt) != SQLITE_DONE) {
            Fail();
        }
        sqlite3_reset(m_stmt);
    }
    QByteArray TextAt(int column) const {
        return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)));
    }
    bool Step() { return sqlite3_step(m_stmt) == SQLITE_ROW; }
    void Reset() { sqlite3_reset(m_stmt); }
    qint64 Scalar() {
        const qint64 value = sqlite3_step(m_stmt) == SQLITE_ROW ? sqlite3_column_int64(m_stmt, 0) : 0;
        sqlite3_reset(m_stmt);
        return value;
    }

private:
    [[noreturn]] void Fail() const {
        throw EDatabaseError(
            QStringLiteral("Register generator: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

class TDatabase {
public:
    explicit TDatabase(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
            sqlite3_close(m_db);
            throw EDatabaseError(
                QStringLiteral("Register generator: cannot open \"%1\": %2").arg(path, reason));
        }
    }
    ~TDatabase() { sqlite3_close(m_db); }
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;
    void Exec(const char* sql) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw EDatabaseError(
                QStringLiteral("Register generator: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
        }
    }
    sqlite3* Handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};
} // namespace

const QStringList& DanishCategories() {
    static const QStringList categories = Words(
        "Antikviteter|Bøger|Diverse|Fotoudstyr|Haveudstyr|Hårde "
        "hvidevarer|Kunstgenstande|Køkkenting|Køretøjer|"
        "Musikinstrumenter|Musikmedier|Møbler|PC-Udstyr|PC-Software|Pynteting|Radio/TV/Video|Smykker/Ure|"
        "Sportsudstyr|Tøj/Sko|Videobånd|Værktøj");
    return categories;
}

void GenerateRegister(const QString& dataFolder, int count, quint32 seed) {
    Schema::CreateMissingTables(dataFolder);
    const QDir folder(dataFolder);
    TDatabase items(folder.filePath(Schema::ItemFile));
    TDatabase counter(folder.filePath(Schema::CounterFile));
    std::mt19937 random(seed);
    const auto pick = [&](const QStringList& list) {
        return list.at(int(std::uniform_int_distribution<int>(0, int(list.size()) - 1)(random)));
    };
    const auto chance = [&](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(random) < percent;
    };
    const auto number = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const QDate firstDay(1985, 1, 1);
    const int days = int(firstDay.daysTo(QDate(2024, 12, 31)));
    const QStringList places = Words("i stuen|i kælderen|på loftet|i sommerhuset|i garagen|nr. 2");

    // A register made for measuring: no journal and no syncing while it is written, its indexes made
    // once after the rows instead of row by row.
    for (TDatabase* db : {&items, &counter}) {
        db->Exec("PRAGMA journal_mode = OFF");
        db->Exec("PRAGMA synchronous = OFF");
        db->Exec("PRAGMA cache_size = -65536");
    }
    items.Exec("BEGIN");
    counter.Exec("BEGIN");
    std::vector<QByteArray> indexes;
    {
        TStatement list(items.Handle(), "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                        "tbl_name = 'Habitra' AND sql IS NOT NULL");
        std::vector<QByteArray> names;
        while (list.Step()) {
            names.push_back(list.TextAt(0));
            indexes.push_back(list.TextAt(1));
        }
        list.Reset();
        for (const QByteArray& name : names) {
            items.Exec(QByteArray("DROP INDEX \"" + name + "\"").constData());
        }
    }
    TStatement last(counter.Handle(), "SELECT coalesce(max(Regnr), 0) FROM Regnr");
    qint64 foto = last.Scalar();
    TStatement hand(counter.Handle(), "WITH RECURSIVE n(x) AS (SELECT ?1 UNION ALL SELECT x + 1 FROM n "
                                      "WHERE x < ?2) INSERT INTO Regnr (Regnr) SELECT x FROM n");
    TStatement insert(
        items.Handle(),
        "INSERT INTO Habitra (Beskrivelse, Fabrikat, Model, Identifikation, Kobssted, Kobsdato, Vaerdi, "
        "Notater, Foto, Kategori) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QStringList& categories = DanishCategories();
    if (count > 0) {
        hand.Integer(1, foto + 1);
        hand.Integer(2, foto + count);
        hand.Run();
    }
    for (int i = 0; i < count; ++i) {
        const int category = number(0, int(categories.size()) - 1);
        const TCategoryTexts& texts = Texts().at(size_t(category));
        QString description = pick(texts.Descriptions);
        if (chance(40)) {
            description += QLatin1Char(' ') + pick(places);
        }
        insert.Text(1, description.left(60));
        insert.Text(2, pick(texts.Makes));
        insert.Text(3, chance(85) ? pick(texts.Models) : QString());
        insert.Text(4, chance(60) ? QStringLiteral("%1-%2-%3")
                                        .arg(QChar(u'A' + number(0, 25)))
                                        .arg(number(1000, 99999))
                                        .arg(number(10, 99))
                                  : QString());
        insert.Text(5, pick(Shops()));
        insert.Text(6, chance(90) ? firstDay.addDays(number(0, days)).toString(Qt::ISODate) : QString());
        // Whole kroner mostly, some with øre; stored as hundredths like the store writes them.
        const qint64 kroner = number(texts.MinKroner, texts.MaxKroner);
        insert.Integer(7, kroner * 100 + (chance(25) ? number(1, 99) : 0));
        insert.Text(8, chance(30) ? pick(Notes()) : QString());
        ++foto;
        insert.Integer(9, foto);
        insert.Text(10, categories.at(category));
        insert.Run();
    }
    for (const QByteArray& index : indexes) {
        items.Exec(index.constData());
    }
    items.Exec("COMMIT");
    counter.Exec("COMMIT");
    for (TDatabase* db : {&items, &counter}) {
        db->Exec("PRAGMA journal_mode = DELETE");
    }
}

void SetUpItemTable(TTable& table, const QString& dataFolder) {
    table.SetDatabaseName(dataFolder);
    table.SetTableName(Schema::ItemFile);
    table.SetFieldDefs(Schema::ItemFields());
    table.SetFormatSettings(TFormatSettings::Danish());
}
