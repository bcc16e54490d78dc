#pragma once

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
// list means the Danish hints throughout.
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
    bool ConfirmDelete() const { return m_confirmDelete; }
    void SetConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    // Carries out a button's action, then OnClick; raises what the table raises.
    void BtnClick(TNavigateBtn button);

    std::function<void(TDBNavigator& sender, TNavigateBtn button)> OnClick;

private:
    class TNavDataLink;
    friend class TNavDataLink;

    void UpdateButtons();
    TTable* Table() const;

    std::unique_ptr<TNavDataLink> m_link;
    std::array<QToolButton*, ButtonCount> m_buttons{};
    TNavButtonSet m_visible;
    QStringList m_hints;
    bool m_flat = true;
    bool m_confirmDelete = true;
};
