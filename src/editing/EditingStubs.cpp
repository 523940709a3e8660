// Placeholders until the screen-editing commands land; they change nothing.
#include "layout/cLayout.h"

void cLayout::ResetScreenMap() {}
void cLayout::ApplyScreenMap() {}
void cLayout::FinishScreenChange() {}
void cLayout::AppendScreenFrom(cLayout&, int) {}
void cLayout::AppendScreens(int) {}
void cLayout::DeleteScreens(int) {}
void cLayout::PromoteScreens(int) {}
void cLayout::DemoteScreens(int) {}
void cLayout::UpdateButtonCaptions() {}
