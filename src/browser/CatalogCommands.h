#pragma once
// Which commands of the catalogue window may run. One command at a time: a
// command that pumps messages (a removal, an add, an edit, the files of a
// disc) must not find another one run inside it that changes the same rows
// or opens the same dialogs.
namespace discovel {

enum class CatalogActivity {
  Listing,  // from opening until the first load is done
  Idle,
  Running,  // a command is under way
};

struct CatalogCommandStates {
  bool add = false;
  bool edit = false;
  bool remove = false;
  bool freshen = false;
  bool viewFiles = false;
};

// Removing needs a selected row; editing, re-adding and listing a disc's files
// need exactly one; all of them need the focus in the list and no load or
// command under way. Adding stays on while the catalogue is listed, because the
// window runs it once the load is done (inside the load, the load could meet
// the new archive's file and list it twice).
CatalogCommandStates DecideCatalogCommands(CatalogActivity activity, bool listFocused, int selectedRows);

}  // namespace discovel
