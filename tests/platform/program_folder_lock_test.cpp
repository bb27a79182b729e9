#include "platform/program_folder_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

using platform::ProgramFolderLock;

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// One holder at a time, in the program folder or, where the folder takes
// no file (here: it is gone), in the user's own place; a second lock of
// the same process counts as another copy.
TEST(ProgramFolderLock, OneCopyHoldsTheFolderUntilItGoes) {
  testing_support::TempDir dir;
  const std::string inFolder = dir.File("skarvel.lock");
  const std::string missing = dir.File("gone/skarvel.lock");
  const std::string elsewhere = dir.File("user.lock");
  struct Row {
    std::string inFolder, elsewhere, held;
  };
  for (const Row& row : {Row{inFolder, missing, inFolder}, Row{missing, elsewhere, elsewhere}}) {
    SCOPED_TRACE(row.held);
    auto first = std::make_unique<ProgramFolderLock>(row.inFolder, row.elsewhere);
    ASSERT_EQ(first->Take(), ProgramFolderLock::Hold::Held);
    EXPECT_EQ(first->Path(), row.held);
    EXPECT_EQ(first->FolderProblem().empty(), row.held == row.inFolder);
    EXPECT_TRUE(Exists(row.held));
    ProgramFolderLock second(row.inFolder, row.elsewhere);
    EXPECT_EQ(second.Take(), ProgramFolderLock::Hold::HeldByAnotherCopy);
    first.reset();
    EXPECT_FALSE(Exists(row.held));
    ProgramFolderLock third(row.inFolder, row.elsewhere);
    EXPECT_EQ(third.Take(), ProgramFolderLock::Hold::Held);
  }
  ProgramFolderLock nowhere(missing, dir.File("gone/user.lock"));
  EXPECT_EQ(nowhere.Take(), ProgramFolderLock::Hold::Unknown);
  EXPECT_FALSE(nowhere.FolderProblem().empty());
}

}  // namespace
