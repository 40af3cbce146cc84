// Reading a file's tags by asking the host, one key at a time, on the host's own thread.
#pragma once

#include <windows.h>

#include <string>

#include "base/RefCounted.h"

class FileRecord;

// Asks the host for each tag of the record's file and stores the answers in the record, which
// is then marked tagged. Answers false, storing nothing, when every request for the record
// gave up waiting before the host answered.
bool ReadTags(HWND host, FileRecord& record);

// The record a message word names, when that word is a request the worker made and still
// waits for; null for anything else. Only the address is compared, so a stale or foreign word
// is never read.
Ref<FileRecord> AwaitedTagRequest(const void* word);

// From the worker: hands the record to the host window's thread to be read, waiting at most
// timeoutMs and giving up at once when that thread hangs. True when the tags were read.
bool RequestTags(FileRecord& record, unsigned timeoutMs);
// A request that timed out may still be served later, so its record is kept alive (and left
// as it was) until the worker ends and calls this.
void ReleaseAbandonedTagRequests();

// Counts tag reads, on the thread that stores them: each read record takes the next stamp.
unsigned short LastTagStamp();
// Whether the record's tags were stored after the stamp was taken. Stamps wrap, so this holds
// for the last 32,767 reads, far more than happen between two counts of a list.
bool TaggedSince(const FileRecord& record, unsigned short stamp);

// The leading decimal number of a tag text: blanks and a sign may lead, reading stops at the
// first non-digit ("7/12" gives 7), no digits give 0.
int ParseLeadingInt(const std::wstring& text);
