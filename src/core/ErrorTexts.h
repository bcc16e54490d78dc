#pragma once

#include <QString>
#include <functional>

class EHabitraError;
class TFormatSettings;

// The program's errors in the user's language: a sentence of its own for each kind of failure, naming
// a field by the caption the user sees, with what the engine or the system said as a second line.
namespace ErrorTexts {
// The caption of a field, by its name; empty when the field has none on screen.
using TCaption = std::function<QString(const QString& fieldName)>;
// Empty for an error of no kind the program knows; the caller then shows the error's own message.
QString Describe(const EHabitraError& error, const TCaption& caption, const TFormatSettings& settings);
} // namespace ErrorTexts
