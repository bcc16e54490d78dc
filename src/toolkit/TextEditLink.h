#pragma once

#include "toolkit/FieldDataLink.h"

#include <functional>

class QKeyEvent;

// True for a key press that changes the text of an edit (typing, deleting, paste, cut, undo).
bool IsEditKey(const QKeyEvent& event, bool multiLine);

// The link of a control where the user types a field's text (one-line edit, memo): what its key
// presses, the user's changes and leaving the control do to the record. Typing puts the record into
// editing; the text goes into the field when the control is left or the table posts or moves.
class TTextEditLink : public TFieldDataLink {
public:
    explicit TTextEditLink(bool multiLine) : m_multiLine(multiLine) {}

    enum TKeyAnswer {
        kaPass,    // the control handles the key
        kaReset,   // Escape dropped the pending change and showed the field again
        kaRefused, // the key would change the text, and the record cannot be edited
    };
    // Before the control handles a key press; the table's refusal goes to the error display.
    TKeyAnswer KeyPressed(const QKeyEvent& event, bool readOnly);
    // The control's text changed, by a key or by a paste or drop without one. False when the record
    // cannot be edited: the control must show the field again.
    bool TextChanged();
    // Begins editing for a change the user makes; a refusal goes to the error display.
    bool BeginUserChange();
    // Runs `show`, which puts text into the control: that change is not the user's.
    void Showing(const std::function<void()>& show);
    // The control lost the focus for `reason`: writes what was typed when the focus went to another
    // control of the window (not to a menu, a box or another window). False when the field refused it.
    bool LeaveControl(int reason);

private:
    const bool m_multiLine;
    bool m_showing = false;
    bool m_leaving = false;
};
