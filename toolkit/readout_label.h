// A label that shows a changing value, such as the drawn number. A screen
// reader reads its accessible name ("Drawn number") and, as its value, the
// text it shows.
#pragma once

#include <QLabel>

namespace morvik {

class ReadoutLabel : public QLabel {
    Q_OBJECT

public:
    explicit ReadoutLabel(QWidget* parent);

    // Shows the value and tells screen readers that it changed.
    void showValue(const QString& value);
};

} // namespace morvik
