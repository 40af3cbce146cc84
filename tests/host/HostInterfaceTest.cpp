// The plugin's declarations of the player's interface against the stand-in host's own: every
// record both pass has the same size and field offsets, and every request, notification,
// command and service message has the same number, so that a mistake made on one side shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>

#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "../../tools/host/PlayerInterface.h"

namespace {

struct Field {
    const char* name;
    size_t ours, theirs;
};

void ExpectSameOffsets(const char* record, std::initializer_list<Field> fields) {
    for (const Field& f : fields) EXPECT_EQ(f.ours, f.theirs) << record << ": " << f.name;
}

#define CV_FIELD(Ours, ours, Theirs, theirs) {#ours, offsetof(Ours, ours), offsetof(Theirs, theirs)}

TEST(HostInterfaceTest, EveryRecordHasThePlayersSizeAndOffsets) {
    using standin::EnqueueRecord;
    using standin::FileInfoDialogRecord;
    using standin::FileInfoRequest;
    using standin::FrameRecord;
    using standin::InsertFileBlock;
    using standin::PrefsPage;
    EXPECT_EQ(sizeof(::PluginRecord), sizeof(standin::PluginRecord));
    ExpectSameOffsets("plugin record", {
        CV_FIELD(::PluginRecord, description, standin::PluginRecord, description),
        CV_FIELD(::PluginRecord, init, standin::PluginRecord, init),
        CV_FIELD(::PluginRecord, config, standin::PluginRecord, config),
        CV_FIELD(::PluginRecord, quit, standin::PluginRecord, quit),
        CV_FIELD(::PluginRecord, hostWindow, standin::PluginRecord, mainWindow),
        CV_FIELD(::PluginRecord, instance, standin::PluginRecord, instance)});
    EXPECT_EQ(kPluginRecordVersion, standin::kPluginRecordVersion);

    EXPECT_EQ(sizeof(HostFileInfoRequest), sizeof(FileInfoRequest));
    ExpectSameOffsets("file info request", {
        CV_FIELD(HostFileInfoRequest, key, FileInfoRequest, key),
        CV_FIELD(HostFileInfoRequest, buffer, FileInfoRequest, buffer),
        CV_FIELD(HostFileInfoRequest, bufferLength, FileInfoRequest, bufferLength)});

    EXPECT_EQ(sizeof(HostEnqueueRecord), sizeof(EnqueueRecord));
    ExpectSameOffsets("enqueue record", {
        CV_FIELD(HostEnqueueRecord, title, EnqueueRecord, title),
        CV_FIELD(HostEnqueueRecord, extension, EnqueueRecord, extension),
        CV_FIELD(HostEnqueueRecord, lengthSeconds, EnqueueRecord, lengthSeconds)});

    EXPECT_EQ(sizeof(HostFileInfoRecord), sizeof(FileInfoDialogRecord));
    ExpectSameOffsets("file info dialog record", {CV_FIELD(HostFileInfoRecord, path, FileInfoDialogRecord, path)});

    EXPECT_EQ(sizeof(EditorInsertFile), sizeof(InsertFileBlock));
    ExpectSameOffsets("insert file block", {CV_FIELD(EditorInsertFile, index, InsertFileBlock, index)});

    EXPECT_EQ(sizeof(EmbedRecord), sizeof(FrameRecord));
    ExpectSameOffsets("frame record", {
        CV_FIELD(EmbedRecord, flags, FrameRecord, flags),
        CV_FIELD(EmbedRecord, rect, FrameRecord, rect),
        CV_FIELD(EmbedRecord, userValue, FrameRecord, userValue),
        CV_FIELD(EmbedRecord, hostWords, FrameRecord, playerWords)});
    EXPECT_EQ(static_cast<size_t>(kEmbedGuidOffset), standin::kFrameGuidOffset);

    EXPECT_EQ(sizeof(PrefsPageRecord), sizeof(PrefsPage));
    ExpectSameOffsets("preferences page", {
        CV_FIELD(PrefsPageRecord, dialogId, PrefsPage, dialogId),
        CV_FIELD(PrefsPageRecord, dialogProc, PrefsPage, dialogProc),
        CV_FIELD(PrefsPageRecord, name, PrefsPage, name),
        CV_FIELD(PrefsPageRecord, placement, PrefsPage, placement),
        CV_FIELD(PrefsPageRecord, hostWords, PrefsPage, playerWords)});
}

TEST(HostInterfaceTest, EveryNumberIsThePlayers) {
    struct Number {
        const char* name;
        long long ours, theirs;
    };
    const Number numbers[] = {
        {"request message", kHostMessage, standin::kRequestMessage},
        {"version", kHostGetVersion, standin::kGetVersion},
        {"clear playlist", kHostClearPlaylist, standin::kClearPlaylist},
        {"playback state", kHostPlaybackState, standin::kGetPlaybackState},
        {"set position", kHostSetPlaylistPosition, standin::kSetPlaylistPosition},
        {"playlist length", kHostPlaylistLength, standin::kGetPlaylistLength},
        {"playlist position", kHostPlaylistPosition, standin::kGetPlaylistPosition},
        {"restart", kHostRestart, standin::kRestart},
        {"entry path", kHostPlaylistEntryPath, standin::kGetPlaylistEntryPath},
        {"get shuffle", kHostGetShuffle, standin::kGetShuffle},
        {"set shuffle", kHostSetShuffle, standin::kSetShuffle},
        {"get window", kHostGetWindow, standin::kGetWindow},
        {"get menu", kHostGetMenu, standin::kGetMenu},
        {"format title", kHostFormatTitle, standin::kFormatTitle},
        {"register page", kHostRegisterPrefsPage, standin::kRegisterPrefsPage},
        {"remove page", kHostRemovePrefsPage, standin::kUnregisterPrefsPage},
        {"open preferences", kHostOpenPrefs, standin::kOpenPrefs},
        {"skin bitmap", kHostSkinColorBitmap, standin::kGetSkinColorBitmap},
        {"create frame", kHostCreateFrame, standin::kCreateFrame},
        {"enqueue", kHostEnqueueFile, standin::kEnqueueFile},
        {"extensions", kHostPlayableExtensions, standin::kGetPlayableExtensions},
        {"file info dialog", kHostFileInfoDialog, standin::kShowFileInfo},
        {"command id", kHostNewCommandId, standin::kNewCommandId},
        {"service manager", kHostServiceManager, standin::kGetServiceManager},
        {"extended file info", kHostExtendedFileInfo, standin::kGetExtendedFileInfo},
        {"queued key", kHostQueuedMessage, standin::kQueuedKey},
        {"file started", kHostFileStarted, standin::kFileStarted},
        {"play", kHostPlayCommand, standin::kPlayCommand},
        {"stop", kHostStopCommand, standin::kStopCommand},
        {"menu anchor", kHostMenuAnchorCommand, standin::kLibraryMenuCommand},
        {"editor menu", kHostPlaylistMenuFirstItem, standin::kEditorMenuFirstCommand},
        {"editor next selected", static_cast<long long>(kEditorNextSelected), static_cast<long long>(standin::kEditorNextSelected)},
        {"editor insert file", static_cast<long long>(kEditorInsertFileCopyData), static_cast<long long>(standin::kEditorInsertFile)},
        {"get factory", kServiceGetFactory, standin::kGetServiceFactory},
        {"add accelerators", kServiceAddAccelerators, standin::kAddAccelerators},
        {"remove accelerators", kServiceRemoveAccelerators, standin::kRemoveAccelerators},
        {"get interface", kFactoryGetInterface, standin::kGetServiceInterface},
        {"release interface", kFactoryReleaseInterface, standin::kReleaseServiceInterface},
        {"mode normal", kTranslateForWindow, standin::kTranslateNormal},
        {"mode global", kTranslateAlways, standin::kTranslateGlobal},
        {"mode child", kTranslateForChildWindow, standin::kTranslateChild},
    };
    for (const Number& n : numbers) EXPECT_EQ(n.ours, n.theirs) << n.name;
    EXPECT_TRUE(IsEqualGUID(kApplicationServiceGuid, standin::kApplicationServiceId));
}

}  // namespace
