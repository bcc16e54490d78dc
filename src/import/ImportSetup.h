#pragma once

#include "store/FormatSettings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class TTable;
class TCustomLanguageSource;

// A category page the user may give every imported row: its caption and its value in the active language.
struct TImportPage {
    QString Caption;
    QString Value;
};

// What the import takes from the main window: the two tables it writes, the regional settings, the
// catalogue's category values, the pages, the names the fields go by, and the language source for the
// dialog's texts.
struct TImportSetup {
    TTable* Items = nullptr;
    TTable* Counter = nullptr;
    TFormatSettings Settings;
    QSet<QString> Categories;             // every category value of every language
    std::vector<TImportPage> Pages;       // in the page order of the active language
    int ActivePage = 0;                   // the page the main window shows
    QHash<QString, QStringList> Captions; // per field name: its captions in all languages
    QHash<QString, QString> Labels;       // per field name: its caption in the active language
    TCustomLanguageSource* LanguageSource = nullptr;
};
