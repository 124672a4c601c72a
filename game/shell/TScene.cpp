#include "game/shell/TScene.h"

#include "game/shell/TGameWnd.h"

TScene::TScene(TGameWnd& a) : app(a), d3d(a.GetD3D()), sound(a.GetSound()), input(a.GetInput()) {}
