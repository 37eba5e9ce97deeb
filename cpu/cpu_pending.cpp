// Stand-in for the CPU opponents while their personalities are being built: a CPU robot
// presses nothing. Goes when the real dispatcher lands.
#include "cpu_ai.h"

void CCpuAi::Think(CRobot*, CRobot*, C3DObject*) {}
