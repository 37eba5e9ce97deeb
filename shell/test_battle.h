// The garage's test sortie: the build being assembled against a CPU copy of itself, on the
// clock, with the lobby that opened the garage served every frame.
#pragma once

class CGarage;

void RunTestBattle(CGarage* garage);
