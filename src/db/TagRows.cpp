// The two statements on the tag columns of Files.
#include "db/TagRows.h"

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/FileRecord.h"

// The record's play count may be older than the row's: it was read when the list was made (or
// before waiting up to seconds for the host), and plays counted since then went straight to the
// row. Writing it as it is would erase those plays, so the count only ever moves forward here;
// the record's count still fills a row that lost its own.
void WriteTags(CacheDatabase& database, const FileRecord& record) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE Files SET title = :title, artist = :artist, album = :album, genre = :genre, "
               L"comment = :comment, track = :track, year = :year, length = :length, bitrate = :bitrate, "
               L"playcount = MAX(IFNULL(playcount, 0), :playcount), tagged = :tagged WHERE fileid=:FILEID;");
    const TagField texts[] = {TagField::kTitle, TagField::kArtist, TagField::kAlbum, TagField::kGenre,
                              TagField::kComment};
    int index = 1;
    for (TagField field : texts) {
        std::optional<std::wstring_view> tag = record.Tag(field);
        std::wstring value = tag ? std::wstring(*tag) : std::wstring();
        sql.BindText(tag ? value.c_str() : nullptr, index++, true);
    }
    sql.BindInt(record.track, index++);
    sql.BindInt(record.year, index++);
    sql.BindInt(record.length, index++);
    sql.BindInt(record.bitrate, index++);
    sql.BindInt(record.playCount, index++);
    sql.BindInt(record.tagged ? 1 : 0, index++);
    sql.BindInt64(record.fileId, index);
    sql.Execute();
}

void MarkUntagged(CacheDatabase& database, long long fileId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE Files SET tagged=0 WHERE fileid=:FILEID");
    sql.BindInt64(fileId, 1);
    sql.Execute();
}
