#pragma once
// The folder browser: one archive's folders as a tree, each with the size of
// everything below it, and the chosen folder's subfolders and files as a list
// with the commands of the other lists of files (Copy File, Execute File,
// Properties, Export to CSV), an address line and Back, Forward and Up.
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "browse/ArchiveFolders.h"
#include "browse/BrowseHistory.h"
#include "browse/FolderTable.h"
#include "platform/AppContext.h"
#include "search/FoundFile.h"
#include "search/win32/FoundFilesList.h"
#include "ui/Button.h"
#include "ui/EditBox.h"
#include "ui/ToolWindow.h"
#include "ui/TreeView.h"
#include "ui/WorkDoneNotice.h"

namespace discovel {

// What the window shows of an archive: its tree, and where its root lies
// ("D:\\", or the drive or folder it was catalogued from).
struct BrowsedArchive {
  std::unique_ptr<ArchiveFolders> tree;
  std::string rootPath;
};

class TfrmBrowse final : public ToolWindow {
 public:
  using FolderIndex = ArchiveFolders::FolderIndex;

  // Opens the browser on the archive at `archivePath`, marked `mark`: at its
  // root, or with `show` at the folder of that file, the file selected and in
  // view. The window shows at once and fills when the archive is read; an
  // archive that cannot be read is said over it, and it closes.
  static void Execute(AppContext& context, const std::string& archivePath, const std::string& mark,
                      const FileOnDisc* show = nullptr);
  // `reading` gives the archive, and `readDone` tells the window when it can.
  TfrmBrowse(AppContext& context, std::string mark, std::future<BrowsedArchive> reading,
             std::shared_ptr<WorkDoneNotice> readDone, std::optional<FileOnDisc> show);
  ~TfrmBrowse() override;
  void Create();

 protected:
  bool PreTranslate(MSG& msg) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged() override;

 private:
  void AddCommands();
  // The archive read: its tree and its root's rows shown, or what is wrong said.
  void ShowArchive();
  void ShowPanes(bool shown);
  void MakePictures();
  void BuildTree();
  void FillChildren(HTREEITEM item, FolderIndex folder);
  std::string TreeText(FolderIndex folder) const;
  // The tree's item of `folder`, its parents opened and filled.
  HTREEITEM ItemOf(FolderIndex folder);
  // Selects the folder's item; that opens nothing again.
  void SelectInTree(FolderIndex folder);
  // Shows the folder's rows, path and totals, and selects it in the tree.
  // `remembered`: the history takes it as the next folder.
  void OpenFolder(FolderIndex folder, bool remembered);
  void GoBack();
  void GoForward();
  void GoUp();
  void ToggleTreeOrder();
  void SelectFile(const FileOnDisc& file);
  bool OpenRow(std::size_t row);
  std::optional<FileOnDisc> FileOf(std::size_t row) const;
  std::optional<std::size_t> SortRows(int column, bool flag, std::optional<std::size_t> keep);
  // Enter on a subfolder, Backspace, Alt+Up, Alt+Left and Alt+Right.
  bool NavigationKey(const MSG& msg);

  AppContext& m_context;
  std::string m_mark;
  std::future<BrowsedArchive> m_reading;
  std::shared_ptr<WorkDoneNotice> m_readDone;
  std::string m_rootPath;
  std::unique_ptr<ArchiveFolders> m_tree;
  std::string m_decimal;  // the user's separators, read once for the tree's texts
  std::string m_thousands;
  std::optional<FileOnDisc> m_show;
  BrowseHistory m_history{ArchiveFolders::kRoot};
  std::unique_ptr<FolderTable> m_table;
  FoundFilesList m_found;
  TreeView m_treeView1;
  EditBox m_edtAddress;
  Button m_btnBack;
  Button m_btnForward;
  Button m_btnUp;
  MenuHandle m_treeMenu;
  HTREEITEM m_rootItem = nullptr;
  ImageListHandle m_pictures;
  bool m_selectingInTree = false;  // the selection the window makes opens nothing again
};

// Show in Folder of a list of found files: the browser on the archive of
// the file (its archive, else the one carrying its mark) at that file.
void ShowFileInItsFolder(AppContext& context, const FileOnDisc& file);

}  // namespace discovel
