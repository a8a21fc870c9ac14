// A label that reports clicks with its element index, so that one slot can
// serve a whole indexed group such as the 37 number cells.
#pragma once

#include <QLabel>

namespace morvik {

class ClickLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickLabel(int index, QWidget* parent);

    int index() const { return elementIndex; }

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
