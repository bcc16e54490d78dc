#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;

enum TPropertyKind { pkNone, pkText, pkStringList, pkOther };

// Published properties of components by name, without regard to case. Maps the windows' vocabulary
// onto Qt: Caption (label/button text, group box and menu title, action text, a tab page's tab text,
// a window's title), Hint (tool tip), Items (a combo box's item texts), Text (a line edit's text or a
// combo box's edit text); any other name is the Q_PROPERTY of that name ("hints", "warning", ...).
// The vocabulary names reach a Q_PROPERTY only when the program's own classes declare it, so a
// QLabel has no "Text". Data-aware controls (a "dataField" property) have no Caption or Text, and
// a class may hide vocabulary names with Q_CLASSINFO("unpublished", "Caption,Text"). A Q_PROPERTY
// that the program's own class declares under a vocabulary name takes the place of the mapping.
namespace PropertyAdapter {
TPropertyKind Kind(const QObject* object, const QString& name);
inline bool HasProperty(const QObject* object, const QString& name) {
    return Kind(object, name) != pkNone;
}

QString Text(const QObject* object, const QString& name);
void SetText(QObject* object, const QString& name, const QString& value);
QStringList Lines(const QObject* object, const QString& name);
// Lines beyond the new count go from the end, existing lines are overwritten in place (their data
// stays), missing ones are appended.
void SetLines(QObject* object, const QString& name, const QStringList& lines);
QVariant Value(const QObject* object, const QString& name);
bool SetValue(QObject* object, const QString& name, const QVariant& value);
// The object held by an object-valued property (a QObject* Q_PROPERTY); null otherwise.
QObject* ObjectValue(const QObject* object, const QString& name);

// Font and reading direction (widgets). The character set is kept beside the font (Unicode text
// needs none); ParentFont false means the widget keeps a font of its own.
bool HasFont(const QObject* object);
int FontCharSet(const QObject* object);
void SetFontCharSet(QObject* object, int charSet);
bool ParentFont(const QObject* object);
void SetParentFont(QObject* object, bool parentFont);
// Reading direction: 0 left to right, 1 to 3 right to left (layout direction).
bool HasBiDiMode(const QObject* object);
int BiDiMode(const QObject* object);
void SetBiDiMode(QObject* object, int mode);
bool ParentBiDiMode(const QObject* object);
void SetParentBiDiMode(QObject* object, bool parentBiDiMode);
// Character set of the application-wide fonts (hints, menus, icon titles).
int ApplicationCharSet();
void SetApplicationCharSet(int charSet);
} // namespace PropertyAdapter
