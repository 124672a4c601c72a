#include "game/shell/ViewScale.h"

namespace {
float g_viewScale = 1.0f;
}

void SetViewScale(float factor) { g_viewScale = factor; }
float GetViewScale() { return g_viewScale; }
