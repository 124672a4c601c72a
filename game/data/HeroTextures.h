// The costume of the hero's and the heroine's model, chosen by a story flag of each.
#pragma once

class TMesh8;

// A model whose first material shows "hero.ptx/..." takes the hero's costume of story flag 560
// (0 "hero", 1 "hero01", 2 "hero02"); one showing "heroine.ptx/..." the heroine's of flag 561.
// Other models and other flag values keep their texture.
void SelectHeroTextures(TMesh8& model);
