// A database file mapped into memory while a listing reads it: a read call per page costs
// several times what touching a mapped page does, the more so under Wine, where each one is a
// round trip to its server. The rows an index proposes lie scattered over the whole cache,
// and a listing of the whole cache reads every page of it. The mapping is held only while one
// listing reads: a 32-bit process listing a large library needs its address space for the
// rows, so a file is mapped only while room is left for them beside it, and otherwise the
// database reads as before.
#pragma once

struct sqlite3;

class ReadMapping {
public:
    // Maps the file of the connection's schema ("main", or an attached name) up to a bound
    // when wanted and there is room; nothing otherwise.
    ReadMapping(sqlite3* connection, const char* schema, bool wanted);
    // Back to plain reads, releasing the view.
    ~ReadMapping();
    ReadMapping(const ReadMapping&) = delete;
    ReadMapping& operator=(const ReadMapping&) = delete;

    // The most of a file mapped at once: the cache of a million files takes about 290 MB and
    // its index about 75 MB; pages past the bound are read as usual.
    static constexpr long long kMostMapped = 512LL << 20;
    // Whether a view of this many bytes leaves room in the process for what is read through
    // it: a listing of the whole file makes records of about two thirds of its size, while
    // the list shown before is still held. Takes and gives back the room to find out.
    static bool RoomFor(long long viewBytes);

private:
    const char* schema_;
    sqlite3* connection_ = nullptr;  // set while mapped
    long long before_ = 0;            // the bound to go back to
};
