#include "qt/bet_list.h"

#include "qt/fonts.h"

#include <QMouseEvent>

namespace morvik {

BetList::BetList(int control, Session& session, QWidget* parent)
    : QListWidget(parent)
    , control(control)
    , session(session)
{
    const Control& row = Controls[control];
    setFont(layoutFont(row.fontPixels));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);

    QPalette colours = palette();
    const QColor background = toQColor(row.fill), text = toQColor(row.colour);
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

void BetList::select(int row)
{
    if (row < 0)
        clearSelection();
    else
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void BetList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        session.pressEntry(control, indexAt(event->position().toPoint()).row());
}

void BetList::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

} // namespace morvik
