#include "game/ViewLayout.h"

#include "game/GameState.h"

namespace game {

PanelPlacement QuestionPanelPlacement(int clientWidth, int clientHeight, int starCellWidth) {
    const int margin = starCellWidth + 6;
    PanelPlacement placement = {false, margin, 0, clientWidth - 2 * margin, clientHeight - kBandHeight};
    placement.visible = placement.width >= 1 && placement.height >= 1;
    return placement;
}

}  // namespace game
