// What the updater shows and asks, behind one small interface with three backends: a desktop one
// (zenity), a terminal one and a scripted one for tests. The program picks one at start-up and
// installs it as the user interface in use.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Win32Types.h"
#include "updater/CDisplayText.h"

namespace updater {

// The folder browser as its callbacks see it.
class CBrowseWindow {
 public:
  virtual ~CBrowseWindow() = default;
  virtual void SetCaption(const CDisplayText& caption) = 0;
  virtual void SetSelection(const std::string& folder) = 0;
  virtual void SetStatusText(const CDisplayText& text) = 0;
};

// The browser's callbacks, in the order the browser raises them.
class CBrowseCallback {
 public:
  virtual ~CBrowseCallback() = default;
  virtual void OnInitialized(CBrowseWindow& window, const std::string& initialFolder) = 0;
  virtual void OnSelChanged(CBrowseWindow& window, const std::string& folder) = 0;
  // A typed name that is no folder: non-zero keeps the browser open.
  virtual int OnValidateFailed(CBrowseWindow& window, const std::string& typedName) = 0;
};

struct BrowseRequest {
  CDisplayText prompt;
  std::string initialFolder;
  std::string rootFolder;  // empty: anywhere
  int flags = 0;
};

enum class BrowseStatus { kChosen, kCancelled, kUnavailable };

struct BrowseResult {
  BrowseStatus status = BrowseStatus::kCancelled;
  std::string folder;  // kChosen: an existing folder
};

// A modeless dialog of static controls, updated by control id.
class CProgressDialog {
 public:
  virtual ~CProgressDialog() = default;
  virtual void SetItemText(int id, const CDisplayText& text) = 0;
  // Ends the dialog (its answer to WM_CLOSE).
  virtual void Close() = 0;
};

struct DialogControl {
  int id;   // kStaticControl for labels
  int top;  // in dialog units; controls with the same top share a line
  CDisplayText text;
};

struct DialogTemplate {
  int resourceId;
  CDisplayText caption;
  std::vector<DialogControl> controls;  // in reading order
};

constexpr int kStaticControl = -1;

class CUserInterface {
 public:
  virtual ~CUserInterface() = default;
  // A box with the style's icon and buttons. The button pressed (IDOK, IDYES, IDNO), or 0 when
  // no box could be shown or answered.
  virtual int MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) = 0;
  virtual BrowseResult BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) = 0;
  // nullptr when no dialog can be shown; the work goes on without one.
  virtual std::unique_ptr<CProgressDialog> CreateProgressDialog(const DialogTemplate& dialog) = 0;
};

// The interface in use; nullptr restores the fallback, which writes boxes to stderr and can show
// nothing (every box answers 0). The caller keeps ownership.
void SetUserInterface(CUserInterface* ui);
CUserInterface& UserInterface();

// Shared by the backends.
bool IsFolder(const std::string& path);
// A typed folder name as an absolute path (relative ones from the current folder).
std::string AbsoluteFolder(const std::string& typed);
// The texts of a dialog's controls with the updates applied, as lines of text for a backend
// that cannot place controls: one line per row of controls, in reading order.
class CDialogTexts {
 public:
  explicit CDialogTexts(const DialogTemplate& dialog);
  void Set(int id, const CDisplayText& text);
  // False while a control the program updates still holds its template text: that text only
  // sizes the control (a count of "9999999999") and is replaced before a window paints, so a
  // backend that prints lines shows none until then.
  bool Ready() const;
  std::vector<std::string> Lines() const;  // UTF-8

 private:
  std::vector<DialogControl> controls_;
  std::vector<bool> filler_;  // per control: template text not yet replaced
};

}  // namespace updater
