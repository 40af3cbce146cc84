// Tag columns of Files rows: storing what the host read for a file, and asking for a re-read.
#pragma once

class CacheDatabase;
class FileRecord;

// Writes the record's tags and tagged flag to its row (by fileid), and its play count when that
// is higher than the row's: a count never goes back. A tag the record lacks is stored as NULL.
void WriteTags(CacheDatabase& database, const FileRecord& record);
// The file's tags are read again the next time they are wanted.
void MarkUntagged(CacheDatabase& database, long long fileId);
