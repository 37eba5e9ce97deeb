// The garage's test battle. Not built yet: it returns to the garage at once.
#include "test_battle.h"

void RunTestBattle() {}
