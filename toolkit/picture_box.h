// A container of solid colour that also draws the fixed figures of a window:
// the lines of the betting table, the colour discs, the title frame. The
// figures are constant layout data and never take clicks.
#pragma once

#include "layout/figures.h"

#include <QWidget>

#include <span>
#include <vector>

namespace morvik {

class PictureBox : public QWidget {
    Q_OBJECT

public:
    PictureBox(Rgb background, QWidget* parent);

    void setLines(std::span<const LineFigure> lines);
    void setDiscs(std::span<const DiscFigure> discs);
    void setFrames(std::span<const FrameFigure> frames);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<LineFigure> lines;
    std::vector<DiscFigure> discs;
    std::vector<FrameFigure> frames;
};

} // namespace morvik
