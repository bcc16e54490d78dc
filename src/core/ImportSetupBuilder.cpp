#include "ImportSetupBuilder.h"

#include "Unit1.h"
#include "catalogue/Catalogue.h"
#include "ui_Unit1.h"

#include "localisation/FormLocalizer.h"
#include "localisation/LanguageFile.h"
#include "localisation/LocalSource.h"
#include "localisation/LocalUtils.h"
#include "register/Register.h"
#include "store/ItemFields.h"

#include <QLabel>

namespace {
// The editor labels that name a field beside the four the category relabels.
const std::array<std::pair<const QString*, const char*>, 4> FieldLabels{{
    {&ItemField::Kobssted, "Label13"},
    {&ItemField::Kobsdato, "Label14"},
    {&ItemField::Notater, "Label15"},
    {&ItemField::Vaerdi, "Label100"},
}};
const std::array<const QString*, 4> RelabelledFields{&ItemField::Beskrivelse, &ItemField::Fabrikat,
                                                     &ItemField::Model, &ItemField::Identifikation};

// The label's Danish caption, also while another language is shown: the window's localizer recorded
// its own texts before it first translated them.
QString DanishCaption(const TForm1& form, const QLabel& label) {
    if (form.ActiveLanguage() != -1 && form.FormLocalizer1) {
        const QString key = label.objectName() + QStringLiteral(".Caption=");
        for (const QString& original : form.FormLocalizer1->Originals()) {
            if (original.startsWith(key)) {
                return LocalUtils::DecodeValue(original.mid(key.size()));
            }
        }
    }
    return label.text();
}

void AddCaptions(TImportSetup& setup, const TForm1& form) {
    // The four relabelled fields go by every word of every label set, in every language.
    for (const Catalogue::TCategory& category : Catalogue::Categories()) {
        for (size_t i = 0; i < RelabelledFields.size(); ++i) {
            for (int language = -1; language < Catalogue::LanguageCount - 1; ++language) {
                setup.Captions[*RelabelledFields[i]] << Catalogue::Word(category.LabelSet[i], language);
            }
        }
    }
    // The others by their labels' captions: the window's own Danish ones and those of the language files.
    QStringList files;
    for (const QString& language : form.LanguageSource1->Languages()) {
        files << LocalUtils::ValueOf(language);
    }
    for (const auto& [field, label] : FieldLabels) {
        QStringList& captions = setup.Captions[*field];
        if (const auto* widget = form.findChild<QLabel*>(QLatin1String(label))) {
            captions << DanishCaption(form, *widget);
        }
        for (const QString& file : files) {
            captions << TLanguageFile(file).ReadString(QStringLiteral("Form1"),
                                                       QLatin1String(label) + QStringLiteral(".Caption"), {});
        }
    }
    // No label shows the category; these are the word in the five languages.
    setup.Captions[ItemField::Kategori] << QStringLiteral("Kategori") << QStringLiteral("Category")
                                        << QStringLiteral("Kategorie");
}

void AddLabels(TImportSetup& setup, const TForm1& form) {
    const int language = form.ActiveLanguage();
    // The standard label set ("Diverse" has it) names the four relabelled fields in general.
    const Catalogue::TCategory* standard = Catalogue::FindByPage(QStringLiteral("TabSheet3"));
    for (size_t i = 0; standard && i < RelabelledFields.size(); ++i) {
        setup.Labels.insert(*RelabelledFields[i], Catalogue::Word(standard->LabelSet[i], language));
    }
    for (const auto& [field, label] : FieldLabels) {
        if (const auto* widget = form.findChild<QLabel*>(QLatin1String(label))) {
            setup.Labels.insert(*field, widget->text());
        }
    }
}
} // namespace

TImportSetup MakeImportSetup(const TForm1& form) {
    TImportSetup setup;
    setup.Items = &form.Register().HabitraTable();
    setup.Counter = &form.Register().RegTable();
    setup.Settings = form.FormatSettings();
    setup.LanguageSource = form.LanguageSource1;
    const int language = form.ActiveLanguage();
    for (const Catalogue::TCategory& category : Catalogue::Categories()) {
        for (int l = -1; l < Catalogue::LanguageCount - 1; ++l) {
            setup.Categories.insert(Catalogue::CategoryValue(category, l));
        }
    }
    const QTabWidget* pages = form.Controls().PageControl1;
    for (const QString& page : Catalogue::PageOrder(language)) {
        const Catalogue::TCategory* category = Catalogue::FindByPage(page);
        QWidget* widget = form.Page(page);
        if (category && widget) {
            if (widget == pages->currentWidget()) {
                setup.ActivePage = int(setup.Pages.size());
            }
            setup.Pages.push_back(
                {pages->tabText(pages->indexOf(widget)), Catalogue::CategoryValue(*category, language)});
        }
    }
    AddCaptions(setup, form);
    AddLabels(setup, form);
    return setup;
}
