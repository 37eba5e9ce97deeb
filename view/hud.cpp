// The head-up display, drawn after the 3-D scene by the view mode's layout.
#include "battle_view.h"

void CBattleView::DrawHud(int, CRobot*, int, CProjectilePool*, int) {}
