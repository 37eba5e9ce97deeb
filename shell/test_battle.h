// The garage's test battle: the robot being built against a CPU opponent, on the clock.
#pragma once

void RunTestBattle();
