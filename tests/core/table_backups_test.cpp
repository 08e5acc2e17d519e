// Backups of the converter's tables in a temporary folder: one per read, raw bytes, the newest kept.

#include "table_backups.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TableImage ImageOf(int seed) {
    TableImage image{};
    for (int i = 0; i < TableImageSize; ++i)
        image[std::size_t(i)] = (i * 7 + seed) % 256;
    return image;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::size_t Count(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class TableBackupsTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(root); }
    fs::path root = fs::temp_directory_path() / ("table_backups_" + std::to_string(::getpid()));
    fs::path folder = root / "Backups";
};

} // namespace

TEST_F(TableBackupsTest, TheImageReadIsKeptOnceRawBeforeTheFirstWriteAfterTheRead) {
    TableBackups backups(folder);
    EXPECT_EQ(backups.BeforeWrite("D1"), std::nullopt); // nothing read yet
    EXPECT_FALSE(fs::exists(folder));

    backups.TablesRead(ImageOf(1));
    const auto first = backups.BeforeWrite("D1");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, folder / "D1.tab");
    const TableImageBytes expected = imageBytes(ImageOf(1));
    EXPECT_EQ(ReadAll(*first), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(backups.BeforeWrite("D2"), std::nullopt); // a second write, no new read

    backups.TablesRead(ImageOf(2));
    const auto second = backups.BeforeWrite("D1"); // the same second
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, folder / "D1_2.tab");
    EXPECT_EQ(ReadAll(*first), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(Count(folder), 2u);
}

TEST_F(TableBackupsTest, TheBackupBeyondTheLimitRemovesTheOldestByFileTime) {
    fs::create_directories(folder);
    const auto now = fs::file_time_type::clock::now();
    // Names that sort otherwise than their times, and a file that is not a backup.
    for (int i = 0; i < 200; ++i) {
        const fs::path path = folder / ("old" + std::to_string(199 - i) + ".tab");
        std::ofstream(path) << "x";
        fs::last_write_time(path, now - std::chrono::hours(300 - i));
    }
    std::ofstream(folder / "notes.txt") << "keep";
    fs::last_write_time(folder / "notes.txt", now - std::chrono::hours(1000));

    TableBackups backups(folder);
    backups.TablesRead(ImageOf(3));
    ASSERT_TRUE(backups.BeforeWrite("new"));
    EXPECT_FALSE(fs::exists(folder / "old199.tab")); // the oldest
    EXPECT_TRUE(fs::exists(folder / "old198.tab"));
    EXPECT_TRUE(fs::exists(folder / "new.tab"));
    EXPECT_TRUE(fs::exists(folder / "notes.txt"));
    EXPECT_EQ(Count(folder), 201u);
}

TEST_F(TableBackupsTest, ABackupThatCannotBeWrittenFailsAndStaysDue) {
    fs::create_directories(root);
    std::ofstream(folder) << "a file where the folder should be";
    TableBackups backups(folder);
    backups.TablesRead(ImageOf(4));
    EXPECT_THROW(backups.BeforeWrite("D"), FileError);
    fs::remove(folder);
    EXPECT_TRUE(backups.BeforeWrite("D"));
}
