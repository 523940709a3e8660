// Placeholders until the control tools land; they change nothing.
#include "layout/cLayout.h"

int32_t cLayout::ScreenExtentX(int) const { return 0; }
int32_t cLayout::ScreenExtentY(int) const { return 0; }
bool cLayout::RescaleControls(int, float) { return false; }
void cLayout::SortDROs(int, int, bool) {}
void cLayout::SortDROKeys(std::vector<DROKey>&, int) {}
void cLayout::ShowStatistics(int) {}
