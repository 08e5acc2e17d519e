#include "tab_file.h"

#include "table_model.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

const ParameterTexts DefaultTexts{"4", "5", "0", "50", "100", "100", "100", "255"};
const std::array<int, ParameterCount> DefaultParameters{4, 5, 128, 64, 128, 128, 128, 255};

// Distinct non-zero bytes, so a byte taken from the wrong offset shows.
Bytes patternedBytes(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) % 251 + 1);
    return bytes;
}

// Each test works in a folder of its own under the system's temporary folder.
class TabFileTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tab_file_test_") + std::to_string(::getpid()) + "_" +
                           info->test_suite_name() + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder = fs::temp_directory_path() / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }

    fs::path write(const std::string& name, const Bytes& bytes) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static Bytes contentOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

enum class Tab2From { File, Tab1 };
enum class ParametersFrom { Defaults, FileRestZero, File };

struct LoadCase {
    std::size_t size;
    Tab2From tab2;
    ParametersFrom parameters;
    bool learned;
};

class TabFileLoad : public TabFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(TabFileLoad, FillsAFullImageFromFilesOfAnySize) {
    const LoadCase& c = GetParam();
    const Bytes file = patternedBytes(c.size);
    const TabFileContent loaded = readTabFile(write("t.tab", file));

    auto fileByte = [&](std::size_t offset) { return offset < file.size() ? file[offset] : 0; };
    const TableImage& image = loaded.image;
    for (int maf = 0; maf < MafCount; ++maf)
        ASSERT_EQ(image[maf], fileByte(maf)) << "Tab1 at " << maf;
    for (int maf = Tab2FirstMaf; maf < MafCount; ++maf) {
        const int expected = c.tab2 == Tab2From::Tab1 ? image[maf] : fileByte(tab2Index(maf));
        ASSERT_EQ(image[tab2Index(maf)], expected) << "Tab2 at " << maf;
    }
    for (int i = 0; i < ParameterCount; ++i) {
        const int expected = c.parameters == ParametersFrom::Defaults ? DefaultParameters[i]
                                                                      : fileByte(ParameterBlockStart + i);
        EXPECT_EQ(image[ParameterBlockStart + i], expected) << "parameter " << i;
    }
    ASSERT_EQ(loaded.learnedValues.has_value(), c.learned);
    if (c.learned) {
        for (int maf = 0; maf < MafCount; ++maf)
            ASSERT_EQ((*loaded.learnedValues)[maf], file[TabFileImageSize + maf]) << "learned at " << maf;
    }
}

INSTANTIATE_TEST_SUITE_P(TabFile, TabFileLoad,
                         testing::Values(LoadCase{0, Tab2From::Tab1, ParametersFrom::Defaults, false},
                                         LoadCase{100, Tab2From::Tab1, ParametersFrom::Defaults, false},
                                         LoadCase{256, Tab2From::Tab1, ParametersFrom::Defaults, false},
                                         LoadCase{257, Tab2From::Tab1, ParametersFrom::FileRestZero, false},
                                         LoadCase{260, Tab2From::Tab1, ParametersFrom::FileRestZero, false},
                                         LoadCase{400, Tab2From::Tab1, ParametersFrom::File, false},
                                         LoadCase{511, Tab2From::Tab1, ParametersFrom::File, false},
                                         LoadCase{512, Tab2From::File, ParametersFrom::File, false},
                                         LoadCase{767, Tab2From::File, ParametersFrom::File, false},
                                         LoadCase{768, Tab2From::File, ParametersFrom::File, true},
                                         LoadCase{5000, Tab2From::File, ParametersFrom::File, true}),
                         [](const testing::TestParamInfo<LoadCase>& info) {
                             return "Bytes" + std::to_string(info.param.size);
                         });

TEST_F(TabFileTest, EmptyFileGivesZeroOutputsAndDefaultBoxes) {
    const TabFileContent loaded = readTabFile(write("empty.tab", {}));
    for (int maf = 0; maf < MafCount; ++maf) {
        ASSERT_EQ(loaded.image[maf], 0);
        ASSERT_EQ(tab2Value(loaded.image, maf), 0);
    }
    EXPECT_EQ(ShowParameters(loaded.image), DefaultTexts);
}

TEST_F(TabFileTest, FileOf260BytesShowsZeroForTheMissingParameters) {
    Bytes file(260, 0);
    file[256] = 4;
    file[257] = 5;
    file[258] = 0x80;
    file[259] = 0x40;
    EXPECT_EQ(ShowParameters(readTabFile(write("short.tab", file)).image),
              (ParameterTexts{"4", "5", "0", "50", "0", "0", "0", "0"}));
}

TEST_F(TabFileTest, SavedStartUpTableIsZerosDefaultParametersZeros) {
    TableModel model;
    model.ReadParameters(TableSet::First, ShowParameters(model.image(TableSet::First)));
    const fs::path saved = saveTabFile(folder / "start", model.image(TableSet::First));

    Bytes expected(256, 0);
    expected.insert(expected.end(), {0x04, 0x05, 0x80, 0x40, 0x80, 0x80, 0x80, 0xFF});
    expected.resize(512, 0);
    EXPECT_EQ(saved, folder / "start.tab");
    EXPECT_EQ(contentOf(saved), expected);
}

TEST_F(TabFileTest, SavedParametersAreTheLowBytesOfWhatTheBoxesStore) {
    TableImage image{};
    ReadParameters(image, {"4", "5", "100", "50", "999", "100", "100", "255"});
    const Bytes saved = contentOf(saveTabFile(folder / "p.tab", image));
    ASSERT_EQ(saved.size(), TabFileImageSize);
    EXPECT_EQ(saved[258], 0x00);
    EXPECT_EQ(saved[260], 0xFF);
}

TEST_F(TabFileTest, SaveThenLoadGivesTheSameImage) {
    TableImage image{};
    for (int i = 0; i < TableImageSize; ++i)
        image[i] = (i * 13 + 5) % 256;
    const TabFileContent loaded = readTabFile(saveTabFile(folder / "round.tab", image));
    EXPECT_EQ(loaded.image, image);
    EXPECT_FALSE(loaded.learnedValues.has_value()) << "the learned block is never written";
}

struct NameCase {
    const char* given;
    const char* saved;
};

class TabFileName : public testing::TestWithParam<NameCase> {};

TEST_P(TabFileName, AppendsTabUnlessTheNameEndsInExactlyDotTab) {
    EXPECT_EQ(withTabExtension(GetParam().given), fs::path(GetParam().saved));
}

INSTANTIATE_TEST_SUITE_P(TabFile, TabFileName,
                         testing::Values(NameCase{"a.TAB", "a.TAB.tab"}, NameCase{"a.tab", "a.tab"},
                                         NameCase{"Tune", "Tune.tab"}, NameCase{"a.Tab", "a.Tab.tab"},
                                         NameCase{"x.tab.bak", "x.tab.bak.tab"},
                                         NameCase{"dir.tab/a", "dir.tab/a.tab"}, NameCase{"tab", "tab.tab"}));

TEST_F(TabFileTest, UpperCaseExtensionIsSavedWithTabAppended) {
    const fs::path saved = saveTabFile(folder / "a.TAB", TableImage{});
    EXPECT_EQ(saved, folder / "a.TAB.tab");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"a.TAB.tab"});
}

TEST_F(TabFileTest, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    const fs::path path = write("old.tab", Bytes(700, 0xAA));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TableImage image{};
    image[0] = 0x11;
    saveTabFile(path, image);

    const Bytes saved = contentOf(path);
    ASSERT_EQ(saved.size(), TabFileImageSize);
    EXPECT_EQ(saved[0], 0x11);
#ifndef _WIN32 // Windows files have a read-only attribute, no permission bits
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"old.tab"}) << "no temporary file is left";
}

TEST_F(TabFileTest, SaveIntoAMissingFolderFailsAsASaveError) {
    try {
        saveTabFile(folder / "missing" / "t.tab", TableImage{});
        FAIL() << "the save should fail";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), FileError::Reason::CannotCreate);
        EXPECT_EQ(tabFileErrorMessage(error.reason()), "Tab file save error");
    }
    EXPECT_TRUE(folderEntries().empty());
}

TEST_F(TabFileTest, SaveOntoAFolderFailsAndLeavesTheFolderAndItsContent) {
    const fs::path target = folder / "t.tab";
    fs::create_directory(target);
    const Bytes kept(512, 0x5A);
    {
        std::ofstream(target / "inside.tab", std::ios::binary)
            .write(reinterpret_cast<const char*>(kept.data()), static_cast<std::streamsize>(kept.size()));
    }
    try {
        saveTabFile(target, TableImage{});
        FAIL() << "the save should fail";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), FileError::Reason::CannotReplace);
        EXPECT_EQ(tabFileErrorMessage(error.reason()), "Can't delete file before saving");
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(contentOf(target / "inside.tab"), kept);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"t.tab"}) << "no temporary file is left";
}

TEST_F(TabFileTest, SaveIntoAReadOnlyFolderLeavesTheOldFileIntact) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's read-only attribute does not stop writing into it on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
#endif
    const Bytes old = patternedBytes(512);
    const fs::path path = write("kept.tab", old);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(saveTabFile(path, TableImage{}), FileError);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(contentOf(path), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"kept.tab"});
}

TEST_F(TabFileTest, LoadOfAMissingFileOrAFolderFailsAsALoadError) {
    fs::create_directory(folder / "d.tab");
    for (const fs::path& path : {folder / "none.tab", folder / "d.tab"}) {
        try {
            readTabFile(path);
            ADD_FAILURE() << path << " should not load";
        } catch (const FileError& error) {
            EXPECT_EQ(error.reason(), FileError::Reason::CannotRead);
            EXPECT_EQ(tabFileErrorMessage(error.reason()), "Tab file load error");
        }
    }
}

struct DefaultNameCase {
    const char* dateTime;
    const char* name;
};

class DefaultTabFileName : public testing::TestWithParam<DefaultNameCase> {};

TEST_P(DefaultTabFileName, ReplacesSeparatorsAndBlanks) {
    EXPECT_EQ(defaultTabFileName(GetParam().dateTime), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(TabFile, DefaultTabFileName,
                         testing::Values(DefaultNameCase{"09.12.2024 14:05:33", "D09_12_2024_T14_05_33"},
                                         DefaultNameCase{"2024-12-09 2:05:33 PM", "D2024-12-09_T2_05_33_TPM"},
                                         DefaultNameCase{"12/9/2024 2:05:33 PM", "D12_9_2024_T2_05_33_TPM"},
                                         DefaultNameCase{"9\\12\\2024 14:05", "D9_12_2024_T14_05"}));

} // namespace
