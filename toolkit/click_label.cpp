#include "click_label.h"

#include <QMouseEvent>

namespace morvik {

ClickLabel::ClickLabel(int index, QWidget* parent)
    : QLabel(parent)
    , elementIndex(index)
{
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed = true;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A press that is dragged off the label and let go elsewhere is no click.
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = pressed && inside;
    pressed = false;
    event->accept();
    if (click)
        emit clicked(elementIndex);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Players lay chips as fast as they can click; the second click of a quick
    // pair arrives as a double-click and must lay its chip like the first.
    mousePressEvent(event);
}

} // namespace morvik
