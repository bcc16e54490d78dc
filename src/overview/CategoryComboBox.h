#pragma once

#include <QComboBox>

// The overview's category list: a drop-down with an editable text line. Typed text is completed to
// the first entry that begins with it (letter case ignored), and that entry counts as chosen when it
// differs from the one chosen before; picking an entry from the list or moving to it with the arrow
// keys chooses it too. The prompt shows while the line is empty.
class TCategoryComboBox : public QComboBox {
    Q_OBJECT
    // What the localizer translates as the list's Text is its prompt; what the user chose is left
    // alone, so a language switch never chooses a category.
    Q_PROPERTY(QString text READ Prompt WRITE SetPrompt)
public:
    explicit TCategoryComboBox(QWidget* parent = nullptr);

    QString Prompt() const;
    void SetPrompt(const QString& prompt);
    // The list's text as the printout takes it: the chosen entry, or the prompt while nothing is chosen.
    QString ListText() const;
    // The entry chosen last; -1 before the first choice.
    int ChosenIndex() const { return m_chosen; }

signals:
    void Chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(int index);
    void TextEdited(const QString& text);

    int m_chosen = -1;
    bool m_deleting = false;
};
