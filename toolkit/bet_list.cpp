#include "toolkit/bet_list.h"

namespace morvik {

BetList::BetList(const QFont& font, QWidget* parent)
    : QListWidget(parent)
{
    setFont(font);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Delete is read from the whole application, not from the list, so the
    // list needs no keyboard focus and draws no focus rectangle.
    setFocusPolicy(Qt::NoFocus);

    QPalette colours = palette();
    const QColor background(0, 0, 0);
    const QColor text(239, 239, 239);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, background);
        colours.setColor(group, QPalette::Window, background);
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::WindowText, text);
        colours.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        colours.setColor(group, QPalette::HighlightedText, QColor(255, 255, 255));
        colours.setColor(group, QPalette::Dark, QColor(128, 128, 128));
        colours.setColor(group, QPalette::Light, QColor(255, 255, 255));
    }
    setPalette(colours);
    // Black on the black window: without a sunken edge an empty list could
    // not be seen at all.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void BetList::append(const QString& text)
{
    addItem(text);
}

void BetList::removeRowUnselected(int row)
{
    if (row < 0 || row >= count())
        return;
    model()->removeRow(row);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void BetList::clearAll()
{
    clear();
}

QItemSelectionModel::SelectionFlags BetList::selectionCommand(const QModelIndex& index, const QEvent*) const
{
    return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}

int BetList::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

} // namespace morvik
