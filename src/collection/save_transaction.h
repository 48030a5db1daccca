#pragma once
// One save of a collection's three files (the collection file, the track
// part file and the filter part file), made so that a program killed, or a
// machine stopped, at any moment of it leaves the files as they were before
// the save or as the save leaves them, never a mixture of the two.
//
// A save first gathers its changes: bytes to be written into a file where
// they stand (edits), and whole new files, written by the caller beside the
// old ones under the old name + ".new" (replacements). Commit then
//   1. sends the new files, and whatever the caller wrote ahead into a file
//      (see wroteAhead), to the disk, and reserves the room the edits need;
//   2. writes every edit and replacement into a journal beside the
//      collection file (its name + ".journal") and sends that to the disk:
//      from here on the save counts as made;
//   3. makes the edits and renames the new files over the old ones, each
//      sent to the disk with its folder;
//   4. removes the journal.
// A journal found whole the next time the collection is opened, or before
// the next save (recover), is carried out again from the start: writing the
// same bytes twice changes nothing, and a new file already renamed is no
// longer there to rename. A journal cut short is thrown away with the new
// files, and the old files stay as they were.
//
// A journal is carried out only onto the files it was made for. It holds
// the size of each file it edits, the bytes each edit replaces and each new
// file's size and a check sum of its ends: every byte of an edit must hold
// what it replaces or what it writes (a replay cut short leaves both), and
// a new file must be the one this save made. Only the collection's own
// regular files are opened, never through a symbolic link and never made
// anew, and every edit lies within what the file's format holds. A journal
// that fails any of this, or is no regular file itself, is not carried out:
// it is set aside under another name, as is anything at a new file's name
// that no save made (setAside tells the caller, who logs it).
//
// The byte layout of the three files is not touched: the journal is a file
// of its own that exists only while a save is under way.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvolin::storefiles {

class SaveTransaction {
public:
    enum Part : int { Header = 0, Tracks = 1, Filters = 2 };
    static constexpr int kParts = 3;

    // The collection file, its track part file and its filter part file.
    SaveTransaction(std::string collectionFile, std::string trackFile, std::string filterFile);

    static std::string journalOf(const std::string& collectionFile) { return collectionFile + ".journal"; }
    static std::string newFileOf(const std::string& file) { return file + ".new"; }
    // The name a file is set aside under.
    static std::string asideOf(const std::string& file) { return file + ".set-aside"; }

    const std::string& file(Part p) const { return files_[static_cast<std::size_t>(p)]; }
    std::string newFile(Part p) const { return newFileOf(file(p)); }

    // Carries out the journal that an earlier save left whole, or throws
    // away one cut short and the new files of a save never committed. A
    // journal that was not made for these files is set aside instead.
    // beforeReplay runs just before a journal is carried out, while the
    // files are as they were found. False when a whole journal could not be
    // carried out; it is then kept for the next try, and error() tells why.
    bool recover(const std::function<void()>& beforeReplay = {});
    // Sets aside whatever stands at the three files' names and is not a
    // regular file (a symbolic link, say), so that the save writes files of
    // its own there rather than through it. False when that fails.
    bool setAsideOtherFiles();

    // What recover and setAsideOtherFiles set aside: the file, the name it
    // took, and whether it was a journal that did not fit the files.
    struct SetAside {
        std::string file, as;
        bool journal;
    };
    const std::vector<SetAside>& setAside() const { return setAside_; }

    // The size bytes at data, to be written at offset in the part's file.
    void edit(Part p, std::uint64_t offset, const unsigned char* data, std::size_t size);
    // The part's file is to be replaced by its ".new" file, which the
    // caller has written whole.
    void replace(Part p);
    // The caller wrote into the part's file where no load reads (tracks
    // beyond the count the collection file on disk holds); those bytes go to
    // the disk before the commit.
    void wroteAhead(Part p) { ahead_[static_cast<std::size_t>(p)] = true; }
    bool replaces(Part p) const { return replaced_[static_cast<std::size_t>(p)]; }

    // False when the save could not be made. Nothing was changed then,
    // unless the failure came after the journal was written (committed()
    // is then true): the journal stays, and recover() makes the rest.
    bool commit();
    bool committed() const { return committed_; }
    // Removes the new files of a save that is given up.
    void abandon();

    const std::string& error() const { return error_; }

private:
    struct Edit {
        Part part;
        std::uint64_t offset;
        std::vector<unsigned char> bytes;
        std::vector<unsigned char> old;  // what the file held there, up to its end
    };
    // A new file: its size and a check sum of its first and last bytes.
    struct FileMark {
        std::uint64_t size = 0, sum = 0;
        bool operator==(const FileMark&) const = default;
    };
    enum class Found { Missing, Whole, CutShort, Invalid };

    std::vector<unsigned char> journalBytes() const;
    Found readJournal();
    Found parseJournal(const std::vector<unsigned char>& bytes);
    // The mark of the regular file at path; onlyName: false when the file
    // has another name too.
    static bool markOf(const std::string& path, FileMark& mark, bool onlyName);
    // Whether the edits lie within what the files' formats hold, in order.
    bool editsFit() const;
    // Whether the files are those the journal was made for, as they were
    // or as far as a replay cut short left them.
    bool madeFor() const;
    bool apply();
    bool removeJournal();
    void removeUnfinishedCopies();
    bool putAside(const std::string& path, bool journal);
    bool fail(const std::string& what);

    std::array<std::string, kParts> files_;
    std::string journal_;
    std::vector<Edit> edits_;
    std::array<bool, kParts> replaced_{};
    std::array<bool, kParts> ahead_{};
    // The size of each edited file, and each new file, when the save was made.
    std::array<std::uint64_t, kParts> oldSize_{};
    std::array<FileMark, kParts> newMark_{};
    bool committed_ = false;
    std::string error_;
    std::vector<SetAside> setAside_;
};

}  // namespace tarvolin::storefiles
