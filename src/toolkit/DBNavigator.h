#pragma once

#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <set>

class QToolButton;
class TDataSource;
class TTable;

enum TNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh
};
using TNavButtonSet = std::set<TNavigateBtn>;

// A bar of flat buttons that move through, insert, delete, edit, post, cancel and refresh the
// records of a data source's table. Buttons are enabled by the table's state. After a button's
// action OnClick runs (also after a delete the user did not confirm).
//
// Hints: line i of the `hints` list is the hint of the button kind i in TNavigateBtn order, for all
// ten kinds whether shown or not; kinds beyond the list keep the toolkit's Danish hint, so an empty
// list means the Danish hints throughout. A button's hint is also its accessible name.
//
// The buttons take the focus by Tab (not by click, which leaves it in the edit being typed in).
// With keys on, insert, delete, post and cancel also answer keys anywhere in the bar's window while
// the bar is shown and the button enabled (KeySequences); the hints then name them.
class TDBNavigator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList hints READ Hints WRITE SetHints)
    Q_PROPERTY(bool flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool confirmDelete READ ConfirmDelete WRITE SetConfirmDelete)
public:
    static constexpr int ButtonCount = nbRefresh + 1;

    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;

    void SetVisibleButtons(const TNavButtonSet& buttons);
    const TNavButtonSet& VisibleButtons() const { return m_visible; }
    QToolButton* Button(TNavigateBtn button) const { return m_buttons[size_t(button)]; }

    const QStringList& Hints() const { return m_hints; }
    void SetHints(const QStringList& hints);
    static QStringList DefaultHints();

    bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    bool KeysEnabled() const { return m_keys; }
    void SetKeysEnabled(bool enabled);
    // The keys of a button kind, the first one the usual; none for the moving and refresh buttons.
    static QList<QKeySequence> KeySequences(TNavigateBtn button);
    bool ConfirmDelete() const { return m_confirmDelete; }
    void SetConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    // Carries out a button's action, then OnClick; raises what the table raises.
    void BtnClick(TNavigateBtn button);

    std::function<void(TDBNavigator& sender, TNavigateBtn button)> OnClick;

private:
    class TNavDataLink;
    friend class TNavDataLink;

    void UpdateButtons();
    void UpdateHints();
    TTable* Table() const;

    std::unique_ptr<TNavDataLink> m_link;
    std::array<QToolButton*, ButtonCount> m_buttons{};
    TNavButtonSet m_visible;
    QStringList m_hints;
    bool m_keys = false;
    bool m_flat = true;
    bool m_confirmDelete = true;
};
