// The system's library loader: bare names from the program's folder, error codes, and no
// library taken from the current folder.
#include "os/Library.h"

#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"

namespace kalora::os {
namespace {

using kalora::testing::ProgramFolder;
using kalora::testing::WorkFolder;

#if defined(_WIN32)
constexpr char kExtension[] = ".dll";
#else
constexpr char kExtension[] = ".so";
#endif

TEST(LibraryTest, BareNameLoadsFromTheProgramFolderAndFindsItsEntryPoints) {
  LibraryLoader& loader = SystemLibraryLoader();
  LibraryHandle library = loader.Load("BemaMFD.dll");
  ASSERT_NE(library, nullptr) << "error " << loader.LastError();
  EXPECT_NE(loader.Symbol(library, "BemaGeraTxtPorCOO"), nullptr);
  EXPECT_NE(loader.Symbol(library, "BemaGeraRegistrosTipoE"), nullptr);
  EXPECT_EQ(loader.Symbol(library, "BemaGeraNada"), nullptr);
  EXPECT_EQ(loader.LastError(), kErrorProcNotFound);
  EXPECT_TRUE(loader.Free(library));
}

TEST(LibraryTest, MissingLibraryAnswersNullWithModuleNotFound) {
  LibraryLoader& loader = SystemLibraryLoader();
  EXPECT_EQ(loader.Load("BemaAusente.dll"), nullptr);
  EXPECT_EQ(loader.LastError(), kErrorModuleNotFound);
}

TEST(LibraryTest, LibraryDroppedInTheCurrentFolderIsNotLoaded) {
  ASSERT_TRUE(HardenLibrarySearch());
  WorkFolder work;
  std::string planted = std::string("Plantada") + kExtension;
  std::filesystem::copy_file(ProgramFolder() / (std::string("BemaMFD") + kExtension),
                             work.Path() / planted);
  LibraryLoader& loader = SystemLibraryLoader();
  EXPECT_EQ(loader.Load("Plantada.dll"), nullptr);
  EXPECT_EQ(loader.LastError(), kErrorModuleNotFound);
  // The same file by its path is a library like any other: the refusal is the search's.
  LibraryHandle by_path = loader.Load((work.Path() / planted).string());
  ASSERT_NE(by_path, nullptr);
  EXPECT_TRUE(loader.Free(by_path));
}

}  // namespace
}  // namespace kalora::os
