#include "Messages.h"

#include "store/Schema.h"

#include <algorithm>
#include <array>

namespace {
using TTexts = std::array<const char*, 5>;

QString Pick(const TTexts& texts, int language) {
    return QString::fromUtf8(texts[size_t(std::clamp(language + 1, 0, 4))]);
}

const TTexts Advice{
    "Inden du anvender programmet, vil det være en god ide, at læse vejledningen til programmet",
    "Before using this program, it would be a good idea, to read the on-line help!",
    "Inden du anvender programmet, vil det være en god ide, at læse vejledningen til programmet",
    "Innan du användar programmet, vill det vära en god ide, at läsa vägledningen til programmet",
    "Bevor Sie dieses Programm benutzen, empfelen wir Ihnen, die Anleitung zum Gebrauch des Programmes zu "
    "lesen!",
};

const TTexts Introduction{
    "Data for dette program er placeret i: \n\r\n\r",
    "Data for this program are located in: \n\r\n\r",
    "Data for dette programmet ligger i: \n\r\n\r",
    "Data för detta program finns i: \n\r\n\r",
    "Die Daten für dieses Programm befinden sich in: \n\r\n\r",
};

const TTexts Backup{
    "Det er meget vigtigt, at du sikkerhedskopierer filer i datamappen mindst en gang om dagen!",
    "It is very important, to backup files in the data folder at least once a day!",
    "Det er svært viktig at du sikkerhetskopierer data filene i mappen minst en gang om dagen!",
    "Det är mycket viktigt att du säkerhetskopierar data filer i mappen minst en gång om dagen!",
    "Es ist sehr wichtig, dass Sie eine Sicherungskopie von Daten-Dateien, mindestens einmal pro Tag!",
};

const TTexts Heading{
    "VIGTIGT!\n\r", "IMPORTANT!\n\r", "VIGTIGT!\n\r", "VIGTIGT!\n\r", "Von großer Bedeutung!\n\r",
};

const TTexts Closing{
    "Dette program må IKKE være åbent under sikkerhedskopiering af data.",
    "This program should NOT be open during data backup.",
    "Dette programmet bør IKKE være åpen under sikkerhetskopiering av data.",
    "Detta program bör inte vara öppet under säkerhetskopiering av data.",
    "Dieses Programm sollte nicht geöffnet werden, während der Daten-Backup.",
};

const TTexts Names{"Dansk", "English", "Norsk", "Svensk", "Deutsch"};

const TTexts NoPicture{
    "Der er ikke noget billede af ", "No picture of ", "Der er ikke noget bilde av ",
    "Det finns ingen bild av ",      "Kein bild von ",
};
} // namespace

QString Messages::FirstUseAdvice(int language) {
    return Pick(Advice, language);
}

QString Messages::DataLocation(int language, const QString& dataHome) {
    return Pick(Introduction, language) + dataHome + Schema::DataFolder + QStringLiteral("\n\r\n\r") +
           Pick(Backup, language) + QStringLiteral("\n\r\n\r") + Pick(Heading, language) +
           Pick(Closing, language);
}

QString Messages::ScreenSizes() {
    return QStringLiteral(
        "SKÆRMSTØRRELSER\n\r\n\rI dag findes der et utal af forskellige skærmstørrelser og skærmopløsninger. "
        "Vinduerne i dette program kan tilpasse sig den skærm og opløsning, som du anvender på denne PC.  "
        "Placér "
        "musen på en af de fire vinduesrammer, hold venstre musetast nede og træk rammen større eller "
        "mindre.  "
        "Indholdet i vinduet vil automatisk tilpasse sig vinduets størrelse. \n\r\n\rBEMÆRK\n\rDen størrelse "
        "på "
        "vinduet, som du har valgt, vil være den størrelse, som vinduet åbnes med, næste gang du åbner dette "
        "program!");
}

QString Messages::LanguageName(int language) {
    return Pick(Names, language);
}

QString Messages::MissingPicture(int language, const QString& description) {
    QString text = Pick(NoPicture, language) + description;
    if (language == 3) {
        text += QStringLiteral(" gefunden!");
    }
    return text;
}
