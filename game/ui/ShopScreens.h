// The scenes that the "Shop" script object opens in front of the field: the buy shop offering a
// script's item ids, the sell shop and the inn, which restores the party of the field that opened
// it.
#pragma once
#include <cstdint>
#include <vector>

class TFieldScene;
class TGameWnd;
class TScene;

// The ids in order; an empty list offers nothing.
TScene* CreateBuyShop(TGameWnd& app, const std::vector<uint32_t>& itemIds);
TScene* CreateSellShop(TGameWnd& app);
// Without a field only the party's records are restored and no music fades.
TScene* CreateInn(TGameWnd& app, TFieldScene* field);
