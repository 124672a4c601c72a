#include "game/field/FieldFolders.h"

namespace {
std::string g_mapFolder, g_scriptFolder, g_visualFolder;
}

void SetMapFolder(const std::string& folder) { g_mapFolder = folder; }
const std::string& GetMapFolder() { return g_mapFolder; }
void SetScriptFolder(const std::string& folder) { g_scriptFolder = folder; }
const std::string& GetScriptFolder() { return g_scriptFolder; }
void SetVisualFolder(const std::string& folder) { g_visualFolder = folder; }
const std::string& GetVisualFolder() { return g_visualFolder; }
