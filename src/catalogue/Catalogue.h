#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The 21 fixed categories: their pages, their values in the five languages, the captions of the
// editor's first four labels, each language's page order and the overview's list and jump. Languages are
// Language indexes: -1 Danish, 0 English, 1 Norwegian, 2 Swedish, 3 German.
namespace Catalogue {
constexpr int CategoryCount = 21;
constexpr int LanguageCount = 5;

using TLanguageTexts = std::array<const char*, LanguageCount>; // Danish, English, Norwegian, Swedish, German

struct TCategory {
    const char* Page; // the page component, "TabSheet1" ... "TabSheet21"
    TLanguageTexts Values;
    std::array<const char*, 4> LabelSet; // Danish words of the vocabulary
};

// The categories in design order, which is also the Danish page order.
const std::array<TCategory, CategoryCount>& Categories();
const TCategory* FindByPage(const QString& page);
// The category whose value in any language equals `value` exactly.
const TCategory* FindByValue(const QString& value);

QString CategoryValue(const TCategory& category, int language);
// A vocabulary word (named by its Danish form) in a language.
QString Word(const char* danish, int language);
// Captions of Label9 to Label12 for a category in a language.
QStringList Labels(const TCategory& category, int language);
// Page names from left to right for a language.
QStringList PageOrder(int language);
// The captions the overview's jump gives the first four labels: Danish in every language, with
// the overview's own spelling of a few.
QStringList JumpLabels(const TCategory& category);
// The captions of the list report's first four columns for a category's Danish value; the design's
// for every other value.
QStringList ListCaptions(const QString& kategori);
// The Danish values of the overview's category list, top to bottom, after its "all" entry.
QStringList OverviewList();
} // namespace Catalogue
