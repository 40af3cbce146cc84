// Every folder's path and whether its files may be listed, read once into memory for the
// searches the index serves: the files it proposes lie scattered over the whole cache, and
// looking up each one's folder row cost a fifth of such a search. The copy is trusted only
// while nothing has been written since it was read, by this connection or any other; until it
// is read again, searches join the folder rows as before.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

class FolderCatalog {
public:
    // Past this many folders the copy would cost more memory than the lookups it saves.
    static constexpr size_t kMostFolders = 250000;

    struct Entry {
        long long folderId;
        uint32_t offset;  // of the path in the texts
        uint32_t length;
        bool listed;      // exists, with a path: what the joined statement asks of its folder
    };

    // Whether the copy is as the cache is now. Called under the database lock.
    bool Current(sqlite3* connection) const;
    // Whether the cache has moved since the folders were last read or tried. A library found
    // to have too many folders is not tried again in this run: each try would read them all.
    bool Stale(sqlite3* connection) const;
    // Reads every folder again; false (and nothing kept) when they cannot be read or are too
    // many. Called under the database lock, outside any statement of the connection's.
    bool Read(sqlite3* connection);
    void Forget();

    // The folder with this id, or null when there is none.
    const Entry* Find(long long folderId) const;
    std::wstring_view PathOf(const Entry& entry) const {
        return std::wstring_view(texts_).substr(entry.offset, entry.length);
    }

private:
    struct Stamp {
        long long changes = -1;  // of this connection
        long long version = -1;  // moves when another connection commits
        bool operator==(const Stamp& other) const { return changes == other.changes && version == other.version; }
    };
    static Stamp StampOf(sqlite3* connection);

    std::vector<Entry> entries_;  // by ascending id
    std::wstring texts_;
    Stamp stamp_;  // when the copy was read
    Stamp tried_;  // when it was last read or tried
    bool read_ = false;
    bool tooMany_ = false;
};
