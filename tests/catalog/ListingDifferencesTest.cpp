#include "catalog/ListingDifferences.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace discovel {
namespace {

// Entries over texts that outlive them.
class Listing {
 public:
  Listing& File(std::string folder, std::string name, std::string size = "10", std::string time = "879719370") {
    auto& kept = m_texts.emplace_back(Texts{std::move(folder), std::move(name), std::move(size), std::move(time)});
    m_entries.push_back({kept.folder, kept.name, kept.size, kept.time});
    return *this;
  }
  const std::vector<EntryView>& Entries() const { return m_entries; }

 private:
  struct Texts {
    std::string folder, name, size, time;
  };
  std::deque<Texts> m_texts;
  std::vector<EntryView> m_entries;
};

// Each row as "+", "-" or "~" and its folder\name.
std::vector<std::string> Rows(const ListingDifferences& differences) {
  std::vector<std::string> rows;
  for (const ListingDifference& row : differences.rows) {
    const char* sign = row.kind == DifferenceKind::kAdded ? "+" : row.kind == DifferenceKind::kRemoved ? "-" : "~";
    rows.push_back(sign + row.folder + "\\" + row.name);
  }
  return rows;
}

using Texts = std::vector<std::string>;

TEST(ListingDifferences, AddedRemovedAndChangedFilesAndTheRestUnchanged) {
  Listing archived, walked;
  archived.File("\\", "same.txt").File("\\", "gone.txt").File("Docs", "grew.doc", "10").File("Docs", "touched.doc");
  walked.File("\\", "same.txt").File("Docs", "grew.doc", "11").File("Docs", "touched.doc", "10", "879719372")
      .File("Docs", "new.doc", "7");
  const ListingDifferences differences = CompareListings(archived.Entries(), walked.Entries());
  EXPECT_EQ(Rows(differences), (Texts{"~Docs\\grew.doc", "~Docs\\touched.doc", "+Docs\\new.doc", "-\\\\gone.txt"}));
  EXPECT_EQ(differences.counts.unchanged, 1u);
  // A row tells the file as the walk found it; a removed one as it was archived.
  EXPECT_EQ(differences.rows[0].size, 11);
  EXPECT_EQ(differences.rows[1].dosTime, 879719372);
  EXPECT_EQ(differences.rows[3].size, 10);
  EXPECT_EQ(DifferencesStatus(differences.counts, ","), "Added: 1; Removed: 1; Changed: 2; Unchanged: 1");
}

TEST(ListingDifferences, AMovedFileIsRemovedFromOneFolderAndAddedToTheOther) {
  Listing archived, walked;
  archived.File("Old", "photo.jpg");
  walked.File("New", "photo.jpg");
  EXPECT_EQ(Rows(CompareListings(archived.Entries(), walked.Entries())), (Texts{"+New\\photo.jpg", "-Old\\photo.jpg"}));
}

TEST(ListingDifferences, LetterCaseAsideAFileIsTheSameButANewCaseIsAChange) {
  Listing archived, walked;
  archived.File("Fotos", "Straße.JPG").File("Ελλάδα", "ΣΟΦΙΑ.txt").File("x", "keep.txt");
  walked.File("FOTOS", "straße.jpg").File("ελλάδα", "ΣΟΦΙΑ.txt").File("x", "keep.txt");
  const ListingDifferences differences = CompareListings(archived.Entries(), walked.Entries());
  EXPECT_EQ(Rows(differences), (Texts{"~FOTOS\\straße.jpg", "~ελλάδα\\ΣΟΦΙΑ.txt"}));
  EXPECT_EQ(differences.counts.unchanged, 1u);
}

TEST(ListingDifferences, NamesThatDifferOnlyInCaseOnAShareEachKeepTheirOwnPartner) {
  // A share on a system that tells letter case apart can hold both.
  Listing archived, walked;
  archived.File("\\", "a.txt", "1").File("\\", "A.txt", "2");
  walked.File("\\", "A.txt", "2").File("\\", "a.txt", "1");
  EXPECT_EQ(Rows(CompareListings(archived.Entries(), walked.Entries())), Texts{});
  walked.File("\\", "A.TXT", "3");
  EXPECT_EQ(Rows(CompareListings(archived.Entries(), walked.Entries())), Texts{"+\\\\A.TXT"});
}

TEST(ListingDifferences, AnEmptyArchiveOrWalk) {
  Listing none, some;
  some.File("\\", "a.txt");
  EXPECT_EQ(Rows(CompareListings(none.Entries(), some.Entries())), Texts{"+\\\\a.txt"});
  EXPECT_EQ(Rows(CompareListings(some.Entries(), none.Entries())), Texts{"-\\\\a.txt"});
  EXPECT_EQ(DifferencesStatus(CompareListings(none.Entries(), none.Entries()).counts, "."),
            "Added: 0; Removed: 0; Changed: 0; Unchanged: 0");
}

}  // namespace
}  // namespace discovel
