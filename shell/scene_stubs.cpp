// Scenes whose screens are not built yet return to the title at once. Each moves into a file
// of its own when it is built; delete its stub here then.
#include "scenes.h"

void SingleCampaignScene() {}
void TeamCampaignScene() {}
