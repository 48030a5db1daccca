#include "collection/save_transaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "collection/store_files.h"
#include "record_bytes.h"
#include "support/temp_dir.h"

namespace tarvolin::storefiles {
namespace {

using testbytes::readFile;
using testbytes::writeFile;

std::string repeated(std::size_t size, char c) { return std::string(size, c); }
const unsigned char* bytesOf(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

struct Files {
    TempDir dir;
    std::string collection = dir.file("c.tvc");
    std::string tracks = dir.file("c.tvt");
    std::string filters = dir.file("c.tvf");
    SaveTransaction save{collection, tracks, filters};
};

TEST(SaveTransactionFiles, EditsAndANewFileAreMadeAndTheJournalGoes) {
    Files f;
    writeFile(f.tracks, repeated(3 * kTrackRecord, 0x11));
    writeFile(f.filters, repeated(kFilterRecord, 0x22));
    const std::string edit = repeated(kTrackRecord, 0x33);
    f.save.edit(SaveTransaction::Tracks, kTrackRecord, bytesOf(edit), edit.size());
    // An edit past the end makes the file longer.
    f.save.edit(SaveTransaction::Tracks, 4 * kTrackRecord, bytesOf(edit), edit.size());
    const std::string fresh = repeated(2 * kFilterRecord, 0x44);
    writeFile(f.save.newFile(SaveTransaction::Filters), fresh);
    f.save.replace(SaveTransaction::Filters);

    ASSERT_TRUE(f.save.commit()) << f.save.error();
    EXPECT_TRUE(f.save.committed());
    std::string want(5 * kTrackRecord, 0);
    std::fill(want.begin(), want.begin() + 3 * kTrackRecord, 0x11);
    std::fill(want.begin() + kTrackRecord, want.begin() + 2 * kTrackRecord, 0x33);
    std::fill(want.begin() + 4 * kTrackRecord, want.end(), 0x33);
    EXPECT_EQ(readFile(f.tracks), want);
    EXPECT_EQ(readFile(f.filters), fresh);
    EXPECT_FALSE(std::filesystem::exists(f.save.newFile(SaveTransaction::Filters)));
    EXPECT_FALSE(std::filesystem::exists(SaveTransaction::journalOf(f.collection)));
}

TEST(SaveTransactionFiles, AFolderAtANewFilesNameFailsTheCommitAsNoRegularFile) {
    Files f;
    const std::string fresh = f.save.newFile(SaveTransaction::Tracks);
    ASSERT_TRUE(std::filesystem::create_directory(fresh));
    f.save.replace(SaveTransaction::Tracks);

    EXPECT_FALSE(f.save.commit());
    EXPECT_FALSE(f.save.committed());
    EXPECT_EQ(f.save.error(), fresh + ": " + std::strerror(EINVAL));
    EXPECT_FALSE(std::filesystem::exists(SaveTransaction::journalOf(f.collection)));
    EXPECT_FALSE(std::filesystem::exists(f.tracks));
}

TEST(SaveTransactionFiles, AnEditIsNeverMadeThroughALink) {
    Files f;
    const std::string target = f.dir.file("elsewhere.bin");
    const std::string before = repeated(2 * kTrackRecord, 0x55);
    writeFile(target, before);
    ASSERT_EQ(::symlink(target.c_str(), f.tracks.c_str()), 0);
    const std::string edit = repeated(kTrackRecord, 0x66);
    f.save.edit(SaveTransaction::Tracks, 0, bytesOf(edit), edit.size());

    EXPECT_FALSE(f.save.commit());
    EXPECT_FALSE(f.save.committed());
    EXPECT_EQ(f.save.error(), f.tracks + ": " + std::strerror(ELOOP));
    EXPECT_EQ(readFile(target), before);
    EXPECT_FALSE(std::filesystem::exists(SaveTransaction::journalOf(f.collection)));
}

TEST(SaveTransactionFiles, AJournalThatIsAFolderIsSetAsideNotRead) {
    Files f;
    writeFile(f.tracks, repeated(kTrackRecord, 0x77));
    const std::string journal = SaveTransaction::journalOf(f.collection);
    ASSERT_TRUE(std::filesystem::create_directory(journal));

    EXPECT_TRUE(f.save.recover()) << f.save.error();
    ASSERT_EQ(f.save.setAside().size(), 1u);
    EXPECT_EQ(f.save.setAside()[0].file, journal);
    EXPECT_TRUE(f.save.setAside()[0].journal);
    EXPECT_FALSE(std::filesystem::exists(journal));
    EXPECT_TRUE(std::filesystem::is_directory(SaveTransaction::asideOf(journal)));
    EXPECT_EQ(readFile(f.tracks), repeated(kTrackRecord, 0x77));
}

}  // namespace
}  // namespace tarvolin::storefiles
