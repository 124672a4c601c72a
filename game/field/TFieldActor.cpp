#include "game/field/TFieldActor.h"

#include "game/field/TCollisionMesh.h"

void TFieldActor::Attach(TStageLinks* stage) {
  TGameObject::Attach(stage);
  collision->AddActor(this);
}
