// The folder that every effect asset name is resolved against ("effect/", set once at start-up),
// and the two loaders that resolve names against it. Frame files are read from the frame folder and
// meshes from the mesh folder, each followed by this folder; texture names of effects are pack
// names and do not use it.
#pragma once
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"

// The flat particle quad of the effect folder that particles and particle bullets are made of.
inline constexpr char kParticleQuadMesh[] = "particle_mesh.msh";

void SetEffectFolder(const std::string& folder);
const std::string& GetEffectFolder();

// An empty name gives an empty pointer; anything else reads the frame file folder + name.
TCountedPtr<TFrame8> LoadEffectFrame(const std::string& name);
// folder + name, or the particle quad "particle_mesh.msh" for an empty name. A missing or damaged
// file throws my_error.
TMesh8 LoadEffectMesh(const std::string& name);
