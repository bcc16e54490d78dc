#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Helpers shared by the language source, the language file and the localizer.
namespace LocalUtils {
// The text a single byte stands for (a "#n" code of a value); Latin-1 when none is given.
using TByteDecoder = std::function<QString(unsigned char)>;

// Value decoding of a raw language-file value: "#n" code runs between quoted parts, then the leading
// quoted string.
QString DecodeValue(const QString& raw, const TByteDecoder& byteDecoder = {});
// The inverse: a quoted text with control characters written as "#n" codes.
QString EncodeValue(const QString& text);

// Comma lists: the written form of a list, and the list a comma text reads as.
QString CommaText(const QStringList& items);
QStringList CommaTextToList(const QString& text);

// "name=value" lines: the name (before the first "="), the value, and lookup without regard to case.
QString NameOf(const QString& line);
QString ValueOf(const QString& line);
int IndexOfName(const QStringList& lines, const QString& name);
void SetValue(QStringList& lines, const QString& name, const QString& value);
bool ContainsText(const QStringList& list, const QString& text);

// Character sets: the number of a name from a language file (1 when unknown), the name of a number
// ("DEFAULT_CHARSET" when unknown), and the 8-bit encoding that texts for it are written in.
int CharSetFromName(const QString& name);
QString CharSetName(int charSet);
const char* EncodingOfCharSet(int charSet);

// The key of a component's property: the property alone for the window itself, else the component
// path, "." and the property; empty when the component has no path.
QString PropertyKey(const QObject* component, const QObject* window, const QString& property);
} // namespace LocalUtils
