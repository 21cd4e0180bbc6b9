// The binding's state machine against a fake loader: which library is loaded, released and
// looked up, when, and what reaches the entry points.
#include "printer/UnitBemaMFD.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeLibraryLoader.h"

namespace kalora::printer {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using kalora::testing::FakeLibraryLoader;

// What the fake entry points were given: one text per argument, "NULL" for a null pointer.
std::vector<std::string> g_arguments;

std::string Arg(const char* text) { return text == nullptr ? "NULL" : text; }

template <int32_t kAnswer>
int32_t KALORA_VENDOR_CALL FakeTxt(const char* mfd, const char* txt, int32_t p3, int32_t p4,
                                   int32_t p5) {
  g_arguments = {Arg(mfd), Arg(txt), std::to_string(p3), std::to_string(p4), std::to_string(p5)};
  return kAnswer;
}

template <int32_t kAnswer>
int32_t KALORA_VENDOR_CALL FakeTipoE(const char* p1, const char* p2, const char* p3,
                                     const char* p4, const char* p5, const char* p6,
                                     const char* p7, const char* p8, const char* p9,
                                     const char* p10, const char* p11, const char* p12,
                                     const char* p13, const char* p14, const char* p15,
                                     const char* p16, const char* p17, const char* p18,
                                     const char* p19, const char* p20, const char* p21) {
  g_arguments.clear();
  for (const char* p : {p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11, p12, p13, p14, p15, p16,
                        p17, p18, p19, p20, p21}) {
    g_arguments.push_back(Arg(p));
  }
  return kAnswer;
}

template <typename F>
os::EntryPoint Entry(F function) {
  return reinterpret_cast<os::EntryPoint>(function);
}

// The first library answers 11 (mirror) and 12 (records), the second 21 and 22.
std::map<std::string, os::EntryPoint> Both(int family) {
  if (family == 1) {
    return {{kGeraTxtPorCOO, Entry(&FakeTxt<11>)}, {kGeraRegistrosTipoE, Entry(&FakeTipoE<12>)}};
  }
  return {{kGeraTxtPorCOO, Entry(&FakeTxt<21>)}, {kGeraRegistrosTipoE, Entry(&FakeTipoE<22>)}};
}

const ArgumentosTipoE kRun = {"Download.MFD", "CTP1704.txt", "01112026", "30112026",
                              "Padaria", "Rua A, 1", "", "2"};

class UnitBemaMFDTest : public ::testing::Test {
 protected:
  UnitBemaMFDTest() {
    loader_.Provide(kBemaMFD, Both(1));
    loader_.Provide(kBemaMFD2, Both(2));
  }

  // The binding, with its boxes collected instead of shown.
  std::unique_ptr<TDLLBemaMFD> Create() {
    auto binding = std::make_unique<TDLLBemaMFD>(loader_);
    binding->SetPlainBox([this](const Text& text) { boxes_.push_back(text); });
    return binding;
  }

  int32_t Txt(TDLLBemaMFD& binding) {
    return binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 12, 20);
  }

  FakeLibraryLoader loader_;
  std::vector<Text> boxes_;
};

TEST_F(UnitBemaMFDTest, CreateLoadsTheFirstLibraryAndLooksNothingUp) {
  auto binding = Create();
  EXPECT_TRUE(binding->FCarregada);
  EXPECT_FALSE(binding->FUsandoMFD2);
  EXPECT_FALSE(binding->FUsarMFD2);
  EXPECT_EQ(binding->FHandle, loader_.HandleOf(kBemaMFD));
  EXPECT_EQ(binding->FGeraTxtPorCOO, nullptr);
  EXPECT_EQ(binding->FGeraRegistrosTipoE, nullptr);
  EXPECT_THAT(loader_.calls, ElementsAre("Load BemaMFD.dll"));
}

TEST_F(UnitBemaMFDTest, EntryPointsAreLookedUpOnceAndGetTheArgumentsInOrder) {
  auto binding = Create();
  EXPECT_EQ(Txt(*binding), 11);
  EXPECT_THAT(g_arguments, ElementsAre("Download.MFD", "Espelho.TXT", "1", "12", "20"));
  EXPECT_EQ(Txt(*binding), 11);
  EXPECT_EQ(binding->GeraRegistrosTipoE(kRun), 12);
  EXPECT_EQ(binding->GeraRegistrosTipoE(kRun), 12);
  EXPECT_THAT(loader_.calls,
              ElementsAre("Load BemaMFD.dll", "Symbol BemaMFD.dll BemaGeraTxtPorCOO",
                          "Symbol BemaMFD.dll BemaGeraRegistrosTipoE"));
}

TEST_F(UnitBemaMFDTest, EmptyTextsAndUnlistedArgumentsArriveAsNullPointers) {
  auto binding = Create();
  ArgumentosTipoE run = kRun;
  run[4] = "";  // no company name
  run[5] = "";  // no address
  binding->GeraRegistrosTipoE(run);
  std::vector<std::string> expected(kArgumentosTipoE, "NULL");
  expected[0] = "Download.MFD";
  expected[1] = "CTP1704.txt";
  expected[2] = "01112026";
  expected[3] = "30112026";
  expected[7] = "2";
  EXPECT_EQ(g_arguments, expected);

  binding->GeraTxtPorCOO("", "", 1, 0, -5);
  EXPECT_THAT(g_arguments, ElementsAre("NULL", "NULL", "1", "0", "-5"));
}

TEST_F(UnitBemaMFDTest, ModelChangeSwitchesOnTheNextCallInBothDirections) {
  auto binding = Create();
  EXPECT_EQ(Txt(*binding), 11);
  binding->FUsarMFD2 = true;
  EXPECT_EQ(loader_.calls.size(), 2u) << "choosing a model loads and releases nothing";

  EXPECT_EQ(Txt(*binding), 21);
  EXPECT_TRUE(binding->FUsandoMFD2);
  EXPECT_TRUE(binding->FCarregada);
  EXPECT_EQ(binding->FHandle, loader_.HandleOf(kBemaMFD2));
  EXPECT_EQ(binding->FGeraRegistrosTipoE, nullptr) << "the switch empties the cache";
  EXPECT_EQ(binding->GeraRegistrosTipoE(kRun), 22);

  binding->FUsarMFD2 = false;
  EXPECT_EQ(binding->GeraRegistrosTipoE(kRun), 12);
  EXPECT_EQ(Txt(*binding), 11);
  EXPECT_FALSE(binding->FUsandoMFD2);
  EXPECT_THAT(loader_.Loaded(), UnorderedElementsAre("BemaMFD.dll"));
  EXPECT_THAT(
      loader_.calls,
      ElementsAre("Load BemaMFD.dll", "Symbol BemaMFD.dll BemaGeraTxtPorCOO", "Free BemaMFD.dll",
                  "Load BemaMFD2.dll", "Symbol BemaMFD2.dll BemaGeraTxtPorCOO",
                  "Symbol BemaMFD2.dll BemaGeraRegistrosTipoE", "Free BemaMFD2.dll",
                  "Load BemaMFD.dll", "Symbol BemaMFD.dll BemaGeraRegistrosTipoE",
                  "Symbol BemaMFD.dll BemaGeraTxtPorCOO"));
}

TEST_F(UnitBemaMFDTest, MissingSecondLibraryAnswersMinusOneUntilTheFirstFamilyIsBack) {
  FakeLibraryLoader only_first;
  only_first.Provide(kBemaMFD, Both(1));
  TDLLBemaMFD binding(only_first);
  binding.SetPlainBox([this](const Text& text) { boxes_.push_back(text); });
  binding.FUsarMFD2 = true;
  for (int call = 0; call < 2; ++call) {
    SCOPED_TRACE(call);
    EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 12, 20), -1);
    EXPECT_EQ(binding.GeraRegistrosTipoE(kRun), -1);
    EXPECT_FALSE(binding.FCarregada);
    EXPECT_TRUE(binding.FUsandoMFD2);
  }
  EXPECT_THAT(boxes_, IsEmpty());
  EXPECT_THAT(only_first.calls, ElementsAre("Load BemaMFD.dll", "Free BemaMFD.dll",
                                            "Load BemaMFD2.dll"))
      << "a failed load is not retried while the family stays the same";

  binding.FUsarMFD2 = false;
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 12, 20), 11);
  EXPECT_THAT(only_first.calls, ElementsAre("Load BemaMFD.dll", "Free BemaMFD.dll",
                                            "Load BemaMFD2.dll", "Load BemaMFD.dll",
                                            "Symbol BemaMFD.dll BemaGeraTxtPorCOO"))
      << "nothing was loaded, so nothing is released";
}

TEST_F(UnitBemaMFDTest, MissingEntryPointIsNotCachedAndIsLookedUpAgain) {
  FakeLibraryLoader loader;
  loader.Provide(kBemaMFD, {{kGeraRegistrosTipoE, Entry(&FakeTipoE<12>)}});
  TDLLBemaMFD binding(loader);
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 12, 20), -1);
  EXPECT_EQ(binding.FGeraTxtPorCOO, nullptr);
  EXPECT_EQ(binding.GeraTxtPorCOO("Download.MFD", "Espelho.TXT", 1, 12, 20), -1);
  EXPECT_EQ(binding.GeraRegistrosTipoE(kRun), 12) << "the other entry point still serves";
  EXPECT_THAT(loader.calls, ElementsAre("Load BemaMFD.dll", "Symbol BemaMFD.dll BemaGeraTxtPorCOO",
                                        "Symbol BemaMFD.dll BemaGeraTxtPorCOO",
                                        "Symbol BemaMFD.dll BemaGeraRegistrosTipoE"));
}

TEST_F(UnitBemaMFDTest, MissingFirstLibraryAtStartAnswersMinusOneWithoutLookups) {
  FakeLibraryLoader empty;
  TDLLBemaMFD binding(empty);
  EXPECT_FALSE(binding.FCarregada);
  EXPECT_EQ(binding.FHandle, nullptr);
  EXPECT_EQ(binding.GeraRegistrosTipoE(kRun), -1);
  EXPECT_THAT(empty.calls, ElementsAre("Load BemaMFD.dll"));
}

TEST_F(UnitBemaMFDTest, FailedReleaseShowsOnlyTheErrorNumberAndTheSwitchGoesOn) {
  auto binding = Create();
  Txt(*binding);
  loader_.FailFree(5);
  binding->LiberaDLL();
  EXPECT_THAT(boxes_, ElementsAre("5"));
  EXPECT_TRUE(binding->FCarregada);
  EXPECT_EQ(binding->FHandle, loader_.HandleOf(kBemaMFD));
  EXPECT_EQ(binding->FGeraTxtPorCOO, nullptr);

  binding->FUsarMFD2 = true;
  EXPECT_EQ(Txt(*binding), 21);
  EXPECT_THAT(boxes_, ElementsAre("5", "5"));
  EXPECT_THAT(loader_.Loaded(), UnorderedElementsAre("BemaMFD.dll", "BemaMFD2.dll"))
      << "the first library stays loaded, its handle dropped";
}

TEST_F(UnitBemaMFDTest, ReleaseFreesTheHandleOnceOnly) {
  auto binding = Create();
  binding->LiberaDLL();
  EXPECT_FALSE(binding->FCarregada);
  EXPECT_EQ(binding->FHandle, nullptr);
  binding.reset();  // Destroy after the release: nothing left to free
  EXPECT_THAT(loader_.calls, ElementsAre("Load BemaMFD.dll", "Free BemaMFD.dll"));
  EXPECT_THAT(boxes_, IsEmpty());
}

TEST_F(UnitBemaMFDTest, DestroyReleasesTheLoadedLibrary) {
  auto binding = Create();
  binding->FUsarMFD2 = true;
  Txt(*binding);
  binding.reset();
  EXPECT_THAT(loader_.Loaded(), IsEmpty());
}

TEST_F(UnitBemaMFDTest, LoaderThatThrowsCountsAsAFailedLoadAndKeepsTheOldHandle) {
  auto binding = Create();
  binding->LiberaDLL();
  binding->FHandle = loader_.HandleOf(kBemaMFD2);  // whatever it held before
  loader_.ThrowOnLoad(true);
  binding->CarregaDLL(kBemaMFD);
  EXPECT_FALSE(binding->FCarregada);
  EXPECT_EQ(binding->FHandle, loader_.HandleOf(kBemaMFD2));
  EXPECT_EQ(binding->GeraRegistrosTipoE(kRun), -1);
  binding->FHandle = nullptr;
}

TEST_F(UnitBemaMFDTest, UnitCreatesTheGlobalAndDestroysItAtTheEnd) {
  EXPECT_EQ(DLLBemaMFD, nullptr);
  {
    UnitBemaMFD unit(loader_);
    ASSERT_NE(DLLBemaMFD, nullptr);
    EXPECT_TRUE(DLLBemaMFD->FCarregada);
    EXPECT_THAT(loader_.Loaded(), UnorderedElementsAre("BemaMFD.dll"));
  }
  EXPECT_EQ(DLLBemaMFD, nullptr);
  EXPECT_THAT(loader_.Loaded(), IsEmpty());
}

}  // namespace
}  // namespace kalora::printer
