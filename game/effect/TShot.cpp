#include "game/effect/TShot.h"

template class TShot<TAddBullet>;
template class TShot<TAlphaCellBullet>;
template class TShot<TAddCellBullet>;
template class TShot<TAlphaBullet>;
template class TShot<TAddMeshBullet>;
template class TShot<TMeshBullet>;
