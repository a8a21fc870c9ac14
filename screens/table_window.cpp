#include "screens/table_window.h"

#include "layout/table.h"
#include "screens/assets.h"
#include "toolkit/bet_list.h"
#include "toolkit/click_label.h"
#include "toolkit/controls.h"
#include "toolkit/fonts.h"
#include "toolkit/readout_label.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QImage>
#include <QTimer>

namespace morvik {

namespace {

constexpr Qt::Alignment CaptionAlignment = Qt::AlignHCenter | Qt::AlignTop;

QString outsideName(Outside target)
{
    return fromUtf8(OutsideWords[static_cast<int>(target)]);
}

} // namespace

TableWindow::TableWindow(Game::Services services)
    : PictureBox(table::Black, nullptr)
    , engine(services, *this)
    , captionFont(layoutFont(table::FontPixels))
{
    setUpWindow(this, QStringLiteral("Form1"), fromUtf8(table::WindowName), table::Width, table::Height);

    buildTable();
    buildTray();

    // List1(1) is made second so that, when both are shown, it lies on top.
    for (int p = 0; p < PlayerCount; ++p) {
        list1[p] = new BetList(captionFont, this);
        list1[p]->setObjectName(controlName("List1", p));
        list1[p]->setGeometry(toQRect(table::List1));
        list1[p]->setAccessibleName(fromUtf8(table::ListName).arg(fromUtf8(playerName(p))));
    }
    list1[1]->hide();

    cislo = new ReadoutLabel(this);
    setUpCaption(cislo, QStringLiteral("Cislo"), table::Cislo, QString::number(1), CellColours[1], captionFont,
                 CaptionAlignment);
    setBackground(cislo, table::CisloBackground);
    QPalette edge = cislo->palette();
    edge.setColor(QPalette::Dark, toQColor(table::CisloShadow));
    edge.setColor(QPalette::Light, toQColor(table::CisloLight));
    cislo->setPalette(edge);
    cislo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    cislo->setLineWidth(1);
    // A framed label would otherwise push its text half a letter down from the top.
    cislo->setIndent(0);
    cislo->setAccessibleName(fromUtf8(table::CisloName));

    auto* label7 = new ClickLabel(0, this);
    setUpCaption(label7, QStringLiteral("Label7"), table::Label7, QStringLiteral("X"), table::White, captionFont,
                 CaptionAlignment);
    label7->setAccessibleDescription(fromUtf8(table::Label7Description));
    connect(label7, &ClickLabel::clicked, this, &TableWindow::titleRequested);

    // Asked for every millisecond and never stopped, also while hidden: a
    // spin goes on to its end behind the title window.
    timer1 = new QTimer(this);
    timer1->setObjectName(QStringLiteral("Timer1"));
    timer1->setTimerType(Qt::PreciseTimer);
    timer1->setInterval(1);
    connect(timer1, &QTimer::timeout, this, &TableWindow::timer1Tick);

    engine.load();
    timer1->start();
}

void TableWindow::buildTable()
{
    picture1 = new PictureBox(table::Picture1Colour, this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(toQRect(table::Picture1));
    picture1->setLines(table::Lines);
    picture1->setDiscs(table::Shape1);

    for (int k = 0; k < NumberCount; ++k) {
        auto* cell = new ClickLabel(k, picture1);
        setUpCaption(cell, controlName("Label1", k), table::Label1[k], QString::number(k), CellColours[k],
                     captionFont, CaptionAlignment);
        connect(cell, &ClickLabel::clicked, this, &TableWindow::label1Click);
    }

    for (int i = 0; i < static_cast<int>(table::Label2.size()); ++i) {
        const auto& row = table::Label2[i];
        auto* cell = new ClickLabel(i, picture1);
        setUpCaption(cell, controlName("Label2", i), row.rect, fromUtf8(row.caption), table::White, captionFont,
                     CaptionAlignment);
        cell->setAccessibleName(outsideName(row.target));
        connect(cell, &ClickLabel::clicked, this, &TableWindow::label2Click);
    }

    for (int i = 0; i < static_cast<int>(table::Shape1.size()); ++i) {
        auto* area = new ClickLabel(i, picture1);
        area->setObjectName(controlName("Label5", i));
        area->setGeometry(toQRect(table::Shape1[i].bounds));
        area->setAccessibleName(outsideName(table::Label5Targets[i]));
        connect(area, &ClickLabel::clicked, this, &TableWindow::label5Click);
    }
}

void TableWindow::buildTray()
{
    picture2 = new PictureBox(table::Picture2Colour, this);
    picture2->setObjectName(QStringLiteral("Picture2"));
    picture2->setGeometry(toQRect(table::Picture2));

    label4 = new QLabel(picture2);
    setUpCaption(label4, QStringLiteral("Label4"), table::Label4, fromUtf8(playerName(0)), table::White,
                 captionFont, CaptionAlignment);

    for (int i = 0; i < DenominationCount; ++i) {
        auto* chip = new ClickLabel(i, picture2);
        chip->setObjectName(controlName("Image1", i));
        chip->setGeometry(toQRect(table::Image1[i]));
        chip->setPicture(assets::picture(assets::chip(i)));
        chip->setAccessibleName(fromUtf8(table::ChipName).arg(ChipValues[i]));
        connect(chip, &ClickLabel::clicked, this, &TableWindow::image1Click);
        image1[i] = chip;

        label3[i] = new QLabel(picture2);
        setUpCaption(label3[i], controlName("Label3", i), table::Label3[i], QString(), table::White, captionFont,
                     CaptionAlignment);
    }

    auto* label6 = new ClickLabel(0, picture2);
    setUpCaption(label6, QStringLiteral("Label6"), table::Label6, QStringLiteral("Next"), table::White, captionFont,
                 CaptionAlignment);
    connect(label6, &ClickLabel::clicked, this, &TableWindow::label6Click);
}

void TableWindow::timer1Tick() { engine.tick(); }
void TableWindow::label1Click(int number) { engine.clickNumber(number); }
void TableWindow::label2Click(int index) { engine.clickOutside(table::Label2[index].target); }
void TableWindow::label5Click(int index) { engine.clickOutside(table::Label5Targets[index]); }
void TableWindow::image1Click(int denomination) { engine.clickChip(denomination); }
void TableWindow::label6Click() { engine.clickNext(); }

// A close request from the desktop does what "X" does: the game is kept, and
// the title window, from which the program ends, comes back.
void TableWindow::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous())
        return;
    event->ignore();
    emit titleRequested();
}

void TableWindow::showCounter(int denomination, Count chips)
{
    QLabel* counter = label3[denomination];
    const QString text = QString::number(chips);
    // Three digits and more would overflow the 33-pixel counter, so big
    // stocks are shown smaller rather than cut off.
    const int size = fittingPixelSize(captionFont, text, counter->width());
    if (counter->font().pixelSize() != size)
        counter->setFont(layoutFont(size));
    counter->setText(text);
    image1[denomination]->setAccessibleDescription(
        chips == 1 ? fromUtf8(table::ChipCountOne) : fromUtf8(table::ChipCountMany).arg(text));
}

void TableWindow::showPlayer(int player)
{
    label4->setText(fromUtf8(playerName(player)));
}

void TableWindow::appendEntry(int player, const std::string& text)
{
    list1[player]->append(fromUtf8(text));
}

void TableWindow::removeEntry(int player, int row)
{
    list1[player]->removeRowUnselected(row);
}

void TableWindow::clearEntries(int player)
{
    list1[player]->clearAll();
}

void TableWindow::showList(int player, bool visible)
{
    list1[player]->setVisible(visible);
}

void TableWindow::showTray(bool visible)
{
    picture2->setVisible(visible);
}

void TableWindow::showDraw(int number, Rgb colour)
{
    // Every tick of a spin lands here; only Cislo repaints.
    if (cislo->palette().color(QPalette::WindowText) != toQColor(colour))
        setTextColour(cislo, colour);
    cislo->showValue(QString::number(number));
}

int TableWindow::selectedEntry(int player) const
{
    return list1[player]->selectedRow();
}

} // namespace morvik
