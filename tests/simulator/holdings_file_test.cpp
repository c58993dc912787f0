// The holdings file: beside the settings file, read back as saved, a failed write said,
// a damaged file kept until a save sets its bytes aside.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "engine/errors.h"
#include "search/holdings_text.h"
#include "tests/settings/temp_folder.h"
#include "tests/support/random_holdings.h"

TEST(HoldingsFile, SavedHoldingsReadBackAndAMissingFileOwnsEverything) {
    EXPECT_EQ(HoldingsFilePath("/a/b/kestrel-simulator.ini"),
              "/a/b/kestrel-simulator-holdings.json");
    EXPECT_EQ(HoldingsFilePath("x.ini"), "x-holdings.json");
    TempFolder folder;
    const std::string path = folder.File("sub/k-holdings.json");
    HoldingsFile missing = LoadHoldingsFile(path);
    EXPECT_TRUE(OwnsEverything(missing.Holdings));
    EXPECT_EQ(missing.Problem, "");
    std::mt19937 random(31);
    for (int round = 0; round < 3; ++round) {
        const THoldings holdings = RandomHoldings(random);
        SaveHoldingsFile(missing, holdings);  // the folder appears with the first save
        const HoldingsFile loaded = LoadHoldingsFile(path);
        ASSERT_EQ(loaded.Problem, "");
        ASSERT_EQ(loaded.Holdings, holdings);
        ASSERT_EQ(folder.EntryCount(), 1u);  // no temporary file left
    }
}

TEST(HoldingsFile, FailedWriteIsReportedAndChangesNothing) {
    TempFolder folder;
    WriteBytes(folder.File("plain"), "not a folder");
    HoldingsFile file{folder.File("plain/k-holdings.json")};
    try {
        SaveHoldingsFile(file, HoldingsOfAll(false));
        ADD_FAILURE() << "the write succeeded";
    } catch (const EWriteError& error) {
        EXPECT_EQ(std::string(error.what()), file.Path + " に書き込めません");
    }
    EXPECT_TRUE(OwnsEverything(file.Holdings));
    EXPECT_EQ(ReadBytes(folder.File("plain")), "not a folder");
}

TEST(HoldingsFile, DamagedFileIsSaidKeptAndSetAsideByTheNextSave) {
    TempFolder folder;
    const std::string path = folder.File("k-holdings.json");
    for (const std::string damaged : {"{\"Club\":[1,1]}\n", "{\"Cl", "", "\xff\xfe"}) {
        WriteBytes(path, damaged);
        std::filesystem::remove(path + ".damaged");
        HoldingsFile file = LoadHoldingsFile(path);
        EXPECT_TRUE(file.Damaged);
        EXPECT_TRUE(OwnsEverything(file.Holdings));
        EXPECT_TRUE(file.Problem.starts_with(path + " の持ち物を読めません (")) << file.Problem;
        EXPECT_EQ(ReadBytes(path), damaged);
        const THoldings now = HoldingsOfAll(false);
        SaveHoldingsFile(file, now);
        EXPECT_EQ(ReadBytes(path + ".damaged"), damaged);
        EXPECT_EQ(LoadHoldingsFile(path).Holdings, now);
        EXPECT_FALSE(file.Damaged);
    }
}
