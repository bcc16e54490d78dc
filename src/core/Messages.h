#pragma once

#include <QString>

// The texts the main window composes itself, chosen by the Language index
// (-1 Danish, 0 English, 1 Norwegian, 2 Swedish, 3 German). Line breaks are written "\n\r".
namespace Messages {
QString FirstUseAdvice(int language);
// The data-location message for the folder that holds Data/, given with its trailing separator.
QString DataLocation(int language, const QString& dataHome);
QString ScreenSizes();
QString LanguageName(int language);
QString MissingPicture(int language, const QString& description);
} // namespace Messages
