#include "screens/title_window.h"

#include "layout/title.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "toolkit/click_label.h"
#include "toolkit/controls.h"
#include "toolkit/fonts.h"
#include "toolkit/picture_label.h"

#include <QCloseEvent>
#include <QImage>

namespace morvik {

namespace {

constexpr Qt::Alignment CaptionAlignment = Qt::AlignLeft | Qt::AlignTop;

// Scaled to fill its rectangle from the source, at the screen's density.
void picture(QWidget* parent, const QString& name, Box rect, const QString& file, std::string_view spokenName)
{
    auto* image = new PictureLabel(parent);
    image->setObjectName(name);
    image->setGeometry(toQRect(rect));
    image->setPicture(assets::picture(file));
    image->setAccessibleName(fromUtf8(spokenName));
}

} // namespace

TitleWindow::TitleWindow(Game::Services services)
    : PictureBox(title::Background, nullptr)
    , services(services)
{
    setUpWindow(this, QStringLiteral("Form2"), fromUtf8(title::WindowName), title::Width, title::Height);
    setFrames({&title::Shape1, 1});

    picture(this, QStringLiteral("Image1"), title::Image1, assets::title(devicePixelRatioF()), title::Image1Name);
    picture(this, QStringLiteral("Image2"), title::Image2, assets::Logo, title::Image2Name);

    for (const title::Caption& row : title::Label1) {
        auto* choice = new ClickLabel(row.index, this);
        setUpCaption(choice, controlName(row.name, row.index), row.rect, fromUtf8(row.text), row.colour,
                     layoutFont(row.pixelSize), CaptionAlignment);
        connect(choice, &ClickLabel::clicked, this, &TitleWindow::label1Click);
    }

    const title::Caption& remark = title::Label2;
    setUpCaption(new QLabel(this), controlName(remark.name, remark.index), remark.rect, fromUtf8(remark.text),
                 remark.colour, layoutFont(remark.pixelSize), CaptionAlignment);
}

TitleWindow::~TitleWindow() = default;

void TitleWindow::label1Click(int index)
{
    if (index == 0) {
        // Made on the first "Play" only; every later one shows the same game.
        if (!table) {
            table = std::make_unique<TableWindow>(services);
            connect(table.get(), &TableWindow::titleRequested, this, &TitleWindow::returnFromTable);
        }
        table->show();
        table->activateWindow();
        hide();
    }
    if (index == 1)
        emit quitRequested();
}

// A close request from the desktop (Alt+F4, the task bar) is a "Quit": the
// program must never run on with no window to reach it by.
void TitleWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous())
        emit quitRequested();
}

void TitleWindow::returnFromTable()
{
    show();
    activateWindow();
    table->hide();
}

} // namespace morvik
