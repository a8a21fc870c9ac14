// A player's bet list: one line per chip laid, light grey on black.
#pragma once

#include <QListWidget>

namespace morvik {

class BetList : public QListWidget {
    Q_OBJECT

public:
    BetList(const QFont& font, QWidget* parent);

    void append(const QString& text);
    // The row after the removed one must not become selected: a held Delete
    // would otherwise sweep the list clean, one tick at a time.
    void removeRowUnselected(int row);
    void clearAll();
    // -1 when nothing is selected.
    int selectedRow() const;

protected:
    // Only a click on an entry selects it, and no click takes the selection
    // away: Delete must still find the entry the player chose.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

} // namespace morvik
