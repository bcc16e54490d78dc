#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <utility>

class EHabitraError;

// Where every error that a handler does not catch ends: a modal box titled with the application
// title, an error icon and one OK button.
namespace ErrorDisplay {
// The text shown: the message, with a full stop appended when its last character sorts after ".".
QString Text(const QString& message);
void Show(const QString& message);
void Show(const std::exception& error);

// Says one of the program's errors in the user's words (empty: its own message). The program installs
// one that knows the language and the captions; without one, an error shows its message.
using TDescriber = std::function<QString(const EHabitraError&)>;
void SetDescriber(TDescriber describer);

// The one way handlers run: an error thrown inside ends in the error display, never in the event loop.
// Returns false when the action failed.
template <typename F> bool Guarded(F&& action) {
    try {
        std::forward<F>(action)();
        return true;
    } catch (const std::exception& error) {
        Show(error);
    } catch (...) {
        Show(QStringLiteral("Unknown error"));
    }
    return false;
}
} // namespace ErrorDisplay
