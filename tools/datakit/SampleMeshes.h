// The meshes of the sample game folder: the weapon models that the sample weapon and item tables
// name, the map models of items and money, the sky and the blob shadow under every game object.
#pragma once
#include <string>
#include <vector>

namespace datakit {

// The model names of the sample weapons ("wepon/" + name + ".msh").
const std::vector<std::string>& SampleWeaponModels();
// Writes every sample mesh under folder (which ends in "/", e.g. DIR + "/data/msh03/").
void WriteSampleMeshes(const std::string& folder);

}  // namespace datakit
