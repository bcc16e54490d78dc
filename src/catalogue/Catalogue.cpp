#include "Catalogue.h"

#include <algorithm>

namespace {
using Catalogue::TCategory;

constexpr std::array<const char*, 4> StandardSet{"Beskrivelse", "Fabrikat", "Model", "Identifikation"};
constexpr std::array<const char*, 4> AntiquesSet{"Beskrivelse", "Fabrikat", "Årgang", "Identifikation"};
constexpr std::array<const char*, 4> BooksSet{"Titel", "Forfatter", "Forlag", "ISBN-nr."};
constexpr std::array<const char*, 4> SerialSet{"Beskrivelse", "Fabrikat", "Model", "Serienummer"};
constexpr std::array<const char*, 4> MusicMediaSet{"Titel", "Kunstner", "Musikforlag", "Identifikation"};
constexpr std::array<const char*, 4> InstrumentSet{"Instrument", "Fabrikat", "Model", "Identifikation"};
constexpr std::array<const char*, 4> SoftwareSet{"Beskrivelse", "Fabrikat", "Version", "Licensnr."};
constexpr std::array<const char*, 4> VideoSet{"Titel", "Fabrikat", "Spilletid", "Identifikation"};

// Values are stored and compared exactly as written here, odd spellings included.
const std::array<TCategory, Catalogue::CategoryCount> Table{{
    {"TabSheet1", {"Antikviteter", "Antigues", "Antikviteter", "Antikviteter", "Antiquitäten"}, AntiquesSet},
    {"TabSheet2", {"Bøger", "Books", "Bøker", "Böcker", "Bücherer"}, BooksSet},
    {"TabSheet3", {"Diverse", "Miscellaneous", "Diverse", "Diverse", "Verschiedenes"}, StandardSet},
    {"TabSheet21", {"Fotoudstyr", "Cameras", "Fotoutstyr", "Fotoutrustning", "Fotoausrüstung"}, SerialSet},
    {"TabSheet4",
     {"Haveudstyr", "Garden equipment", "Hageutstyr", "Trädgårdsredskap", "Gartenaussteuer"},
     StandardSet},
    {"TabSheet5",
     {"Hårde hvidevarer", "Kitchen equipment", "Hvitevarer", "Hårda vita varor", "Haushaltsgrossgeräte"},
     SerialSet},
    {"TabSheet18",
     {"Kunstgenstande", "Art works", "Kunstgjenstander", "Konstföremål", "Kunstgegenstände"},
     StandardSet},
    {"TabSheet6",
     {"Køkkenting", "Kitchen ware", "Kjøkkenting", "Köksutrustning", "Küchensachen"},
     StandardSet},
    {"TabSheet14", {"Køretøjer", "Vehicles", "Kjøretøy", "Fordon", "Fahrzeuge"}, StandardSet},
    {"TabSheet8",
     {"Musikinstrumenter", "Music instruments", "Musikkinstrumenter", "Musikinstrumenter",
      "Musikinstrumente"},
     InstrumentSet},
    {"TabSheet7",
     {"Musikmedier", "Music media", "Musikkmedier", "Musikmedier", "Musikmedien"},
     MusicMediaSet},
    {"TabSheet9", {"Møbler", "Furniture", "Møbler", "Möbel", "Möbel"}, StandardSet},
    {"TabSheet10", {"PC-Udstyr", "PC-Hardware", "PC-Utstyr", "Datorutrustning", "PC-Ausrüstung"}, SerialSet},
    {"TabSheet11",
     {"PC-Software", "PC-Software", "PC-programvare", "Datorprogram", "PC-Software"},
     SoftwareSet},
    {"TabSheet12", {"Pynteting", "Decorations", "Pynteting", "Prydnadsföremål", "Putz"}, StandardSet},
    {"TabSheet19",
     {"Radio/TV/Video", "Radio/TV/Video", "Radio/TV/Video", "Radio/TV/Video", "Radio/TV/Video"},
     StandardSet},
    {"TabSheet13",
     {"Smykker/Ure", "Jewellery/Watches", "Smykker/Ur", "Smycken och ur", "Schmuck/Uhren"},
     StandardSet},
    {"TabSheet20",
     {"Sportsudstyr", "Sports equipment", "Sportsutstyr", "Sportutrustning", "Sportausrüstung"},
     StandardSet},
    {"TabSheet15", {"Tøj/Sko", "Clothes/Shooes", "Klær/Sko", "Kläder/skor", "Kleidung/Schuhe"}, StandardSet},
    {"TabSheet16", {"Videobånd", "Videotapes", "Videobånd", "Videoband", "Videobänder"}, VideoSet},
    {"TabSheet17", {"Værktøj", "Tools", "Verktøy", "Verktyg", "Werkzeug"}, StandardSet},
}};

// The label vocabulary: Danish, English, Norwegian, Swedish, German.
const std::array<Catalogue::TLanguageTexts, 16> Vocabulary{{
    {"Beskrivelse", "Description", "Beskrivelse", "Beskrivelse", "Beschreibung"},
    {"Fabrikat", "Manufacture", "Fabrikat", "Fabrikat", "Fabrikat"},
    {"Årgang", "Year", "Årstall", "Årgang", "Jahrgang"},
    {"Identifikation", "Identification", "Identifikasjon", "Identifikation", "Identifizierung"},
    {"Titel", "Titel", "Tittel", "Titel", "Titel"},
    {"Forfatter", "Author", "Forfatter", "Forfatter", "Verfasser"},
    {"Forlag", "Publisher", "Forlag", "Forlag", "Vorlag"},
    {"ISBN-nr.", "ISBN-no.", "ISBN-nr.", "ISBN-nr.", "ISBN-nr."},
    {"Model", "Model", "Modell", "Model", "Model"},
    {"Serienummer", "Serialnumber", "Serienummer", "Serienummer", "Serienummer"},
    {"Kunstner", "Artist", "Kunstner", "Kunstner", "Künstler"},
    {"Musikforlag", "Publisher", "Musikkforlag", "Musikforlag", "Musikverlag"},
    {"Instrument", "Instrument", "Instrument", "Instrument", "Instrument"},
    {"Version", "Version", "Versjon", "Version", "Version"},
    {"Licensnr.", "Licenseno.", "Lisensnr.", "Licensnr.", "Licensnr."},
    {"Spilletid", "Playtime", "Spilletid", "Spilletid", "Spielzeit"},
}};

// Page orders by the Danish values, one column per language.
const std::array<std::array<const char*, Catalogue::CategoryCount>, Catalogue::LanguageCount> Orders{{
    {"Antikviteter",   "Bøger",       "Diverse",   "Fotoudstyr",        "Haveudstyr",  "Hårde hvidevarer",
     "Kunstgenstande", "Køkkenting",  "Køretøjer", "Musikinstrumenter", "Musikmedier", "Møbler",
     "PC-Udstyr",      "PC-Software", "Pynteting", "Radio/TV/Video",    "Smykker/Ure", "Sportsudstyr",
     "Tøj/Sko",        "Videobånd",   "Værktøj"},
    {"Antikviteter",      "Kunstgenstande", "Bøger",
     "Fotoudstyr",        "Tøj/Sko",        "Haveudstyr",
     "Pynteting",         "Møbler",         "Smykker/Ure",
     "Hårde hvidevarer",  "Køkkenting",     "Diverse",
     "Musikinstrumenter", "Musikmedier",    "PC-Udstyr",
     "PC-Software",       "Radio/TV/Video", "Sportsudstyr",
     "Køretøjer",         "Videobånd",      "Værktøj"},
    {"Antikviteter", "Bøger",     "Diverse",     "Fotoudstyr",     "Haveudstyr",        "Hårde hvidevarer",
     "Køkkenting",   "Køretøjer", "Tøj/Sko",     "Kunstgenstande", "Musikinstrumenter", "Musikmedier",
     "Møbler",       "PC-Udstyr", "PC-Software", "Pynteting",      "Radio/TV/Video",    "Smykker/Ure",
     "Sportsudstyr", "Videobånd", "Værktøj"},
    {"Antikviteter",   "Bøger",       "PC-Software",       "PC-Udstyr",  "Diverse",
     "Køretøjer",      "Fotoudstyr",  "Hårde hvidevarer",  "Tøj/Sko",    "Kunstgenstande",
     "Køkkenting",     "Musikmedier", "Musikinstrumenter", "Møbler",     "Pynteting",
     "Radio/TV/Video", "Smykker/Ure", "Sportsudstyr",      "Haveudstyr", "Videobånd",
     "Værktøj"},
    {"Antikviteter", "Bøger",          "Køretøjer",  "Fotoudstyr",        "Haveudstyr",  "Hårde hvidevarer",
     "Tøj/Sko",      "Kunstgenstande", "Køkkenting", "Musikinstrumenter", "Musikmedier", "Møbler",
     "PC-Udstyr",    "PC-Software",    "Pynteting",  "Radio/TV/Video",    "Smykker/Ure", "Sportsudstyr",
     "Diverse",      "Videobånd",      "Værktøj"},
}};

// The overview's list leaves out "Sportsudstyr" and names music media before instruments; its
// translations in the language files follow this order.
constexpr std::array<const char*, Catalogue::CategoryCount - 1> OverviewEntries{
    "Antikviteter",      "Bøger",          "Diverse",    "Fotoudstyr",  "Haveudstyr",
    "Hårde hvidevarer",  "Kunstgenstande", "Køkkenting", "Køretøjer",   "Musikmedier",
    "Musikinstrumenter", "Møbler",         "PC-Udstyr",  "PC-Software", "Pynteting",
    "Radio/TV/Video",    "Smykker/Ure",    "Tøj/Sko",    "Videobånd",   "Værktøj"};

struct TLabelSet {
    const char* Page;
    std::array<const char*, 4> Labels;
};

// Where the overview's jump captions differ from the editor's Danish ones.
constexpr std::array<TLabelSet, 3> JumpExceptions{{
    {"TabSheet2", {"Titel", "Forfatter", "Forlag", "ISBN nr."}},
    {"TabSheet11", {"Beskrivelse", "Fabrikat", "Version", "Licensnummer"}},
    {"TabSheet19", SerialSet},
}};

// Where the list report's column captions differ from the design's, by the category's Danish value.
constexpr std::array<TLabelSet, 6> ListSets{{
    {"TabSheet2", {"Titel", "Forfatter", "Forlag", "ISBN nr."}},
    {"TabSheet7", MusicMediaSet},
    {"TabSheet8", InstrumentSet},
    {"TabSheet10", SerialSet},
    {"TabSheet11", {"Beskrivelse", "Fabrikat", "Version", "Licensnummer"}},
    {"TabSheet16", VideoSet},
}};

QStringList Texts(const std::array<const char*, 4>& labels) {
    QStringList texts;
    for (const char* label : labels) {
        texts << QString::fromUtf8(label);
    }
    return texts;
}

int Column(int language) {
    return std::clamp(language + 1, 0, Catalogue::LanguageCount - 1);
}
} // namespace

const std::array<TCategory, Catalogue::CategoryCount>& Catalogue::Categories() {
    return Table;
}

const TCategory* Catalogue::FindByPage(const QString& page) {
    for (const TCategory& category : Table) {
        if (page == QLatin1String(category.Page)) {
            return &category;
        }
    }
    return nullptr;
}

const TCategory* Catalogue::FindByValue(const QString& value) {
    for (const TCategory& category : Table) {
        for (const char* text : category.Values) {
            if (value == QString::fromUtf8(text)) {
                return &category;
            }
        }
    }
    return nullptr;
}

QString Catalogue::CategoryValue(const TCategory& category, int language) {
    return QString::fromUtf8(category.Values[size_t(Column(language))]);
}

QString Catalogue::Word(const char* danish, int language) {
    for (const TLanguageTexts& word : Vocabulary) {
        if (qstrcmp(word[0], danish) == 0) {
            return QString::fromUtf8(word[size_t(Column(language))]);
        }
    }
    return QString::fromUtf8(danish);
}

QStringList Catalogue::Labels(const TCategory& category, int language) {
    QStringList labels;
    for (const char* danish : category.LabelSet) {
        labels << Word(danish, language);
    }
    return labels;
}

QStringList Catalogue::PageOrder(int language) {
    QStringList pages;
    for (const char* danish : Orders[size_t(Column(language))]) {
        for (const TCategory& category : Table) {
            if (qstrcmp(category.Values[0], danish) == 0) {
                pages << QLatin1String(category.Page);
            }
        }
    }
    return pages;
}

QStringList Catalogue::JumpLabels(const TCategory& category) {
    for (const TLabelSet& exception : JumpExceptions) {
        if (qstrcmp(exception.Page, category.Page) == 0) {
            return Texts(exception.Labels);
        }
    }
    return Labels(category, -1);
}

QStringList Catalogue::ListCaptions(const QString& kategori) {
    for (const TLabelSet& set : ListSets) {
        const TCategory* category = FindByPage(QLatin1String(set.Page));
        if (category && kategori == CategoryValue(*category, -1)) {
            return Texts(set.Labels);
        }
    }
    return Texts(StandardSet);
}

QStringList Catalogue::OverviewList() {
    QStringList values;
    for (const char* danish : OverviewEntries) {
        values << QString::fromUtf8(danish);
    }
    return values;
}
