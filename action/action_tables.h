// The tables of action scripts, one per script file; the registry gathers them. A new script
// file adds its getter here and one row to the registry's list of tables.
#pragma once

#include "action_registry.h"

SActionTable GetDispatcherActionTable();  // stagger and stances
SActionTable GetWalkActionTable();        // walks and the angle-mode dash
SActionTable GetDashActionTable();        // boosted dashes and brakes
SActionTable GetJumpActionTable();        // jumps and aerial dashes
SActionTable GetFlightActionTable();      // type 31's transformation and flight modes
SActionTable GetReactionActionTable();    // hit reactions, guard and destruction
SActionTable GetFinaleActionTable();      // victories and defeats
SActionTable GetBladeActionTable();       // blades, boost dashes and their selectors
SActionTable GetMeleeActionTable();       // melee, shoulder weapons and their selectors
SActionTable GetShotActionTable();        // missiles, bombs, rifles, guns, beams and the shield
SActionTable GetSwordActionTable();       // the long sword, the curse and their selectors
SActionTable GetRocketActionTable();      // the kick, racket, heavy missiles, cluster bombs and selectors
