// Where the question panel sits in the view: between the two star columns (each with its 6-pixel bevel) and
// above the 200-pixel band.
#pragma once

namespace game {

struct PanelPlacement {
    bool visible;
    int x, y, width, height;
};

PanelPlacement QuestionPanelPlacement(int clientWidth, int clientHeight, int starCellWidth);

}  // namespace game
