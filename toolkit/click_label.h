// A label that reports clicks with its element index, so that one slot can
// serve a whole indexed group such as the 37 number cells. Screen readers see
// it as a button, named by its accessible name or else by its caption, and
// can press it.
#pragma once

#include "toolkit/picture_label.h"

namespace morvik {

class ClickLabel : public PictureLabel {
    Q_OBJECT

public:
    explicit ClickLabel(int index, QWidget* parent);

    int index() const { return elementIndex; }

    // What a click does, for a press that comes from elsewhere than the mouse.
    void click();

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int elementIndex;
    bool pressed = false;
};

} // namespace morvik
