// The folders of the field's data, process-wide, set once by start-up: the map folder ("map03/":
// ground and collision meshes), the script folder ("data/scr03/": map-data files) and the visual
// folder ("visual03/": the meshes that maps place). The map and visual folders name meshes, so
// they lie inside the mesh loader's own folder.
#pragma once
#include <string>

void SetMapFolder(const std::string& folder);
const std::string& GetMapFolder();
void SetScriptFolder(const std::string& folder);
const std::string& GetScriptFolder();
void SetVisualFolder(const std::string& folder);
const std::string& GetVisualFolder();
