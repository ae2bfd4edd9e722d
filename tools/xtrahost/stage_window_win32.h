// The host's stage: a window of its own that methods needing an owner window use.
#pragma once

void* CreateStageWindow();
void DestroyStageWindow(void* window);
