// The update: reads ".\update.ini", confirms, asks for the installed folder, checks its base file,
// refuses read-only targets, creates the missing folders and copies every file of the "data"
// folder beside the program, with a progress dialog. Every failure ends the update with one box
// that names its cause; what was done before it stays.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "updater/CFileEnumerator.h"

namespace updater {

class CUpdatePatch {
 public:
  // Throws a constant text when the settings cannot be read or lack a value.
  CUpdatePatch();
  // False when the user said no; throws a constant or composed text (CDisplayText) or my_error.
  bool Run();

 private:
  bool Confirm();
  void ChooseTarget();
  void SetSourceFolder();
  void Scan(bool folders);
  void CreateFolders();
  void CopyFiles();
  void ShowDone();
  // The target's spelling of a source name: each part matched without regard to ASCII case.
  std::string TargetName(const std::string& name, const std::map<std::string, std::string>& folded) const;

  std::string name_;
  std::string basename_;
  std::string newversion_;
  std::string oldversion_;
  std::string targetFolder_;  // ends in '/'
  std::string sourceFolder_;
  CUpdateFileEnumerator::EntryMap targetEntries_;
  CUpdateFileEnumerator::EntryMap sourceEntries_;
  std::vector<std::string> foldersToCreate_;  // target names, parents first
  int fileCount_ = 0;
  std::map<std::string, std::string> targetNames_;  // source name -> target name
};

// Runs the whole update and reports its end: 0 after the completion box, 1 after any box that
// ends it early (a refusal or a cancelled folder choice too).
int WinMain();

}  // namespace updater
