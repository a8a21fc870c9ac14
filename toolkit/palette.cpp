#include "toolkit/palette.h"

#include "toolkit/conversions.h"

#include <QWidget>

namespace morvik {

void setTextColour(QWidget* widget, Rgb colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    widget->setPalette(palette);
}

void setBackground(QWidget* widget, Rgb colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace morvik
