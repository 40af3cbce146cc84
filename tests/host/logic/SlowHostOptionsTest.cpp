// The stand-in host's options for being slow and eventful: tag delays in milliseconds or never,
// the file-information dialog's answer and the playback timings, with bad values refused.
#include <gtest/gtest.h>

#include "logic/HostOptions.h"
#include "logic/ScriptLine.h"

namespace {

TEST(SlowHostOptionsTest, TagDelayIsMillisecondsOrNever) {
    struct Case { const wchar_t* text; bool ok; unsigned ms; bool never; };
    const Case cases[] = {
        {L"0", true, 0, false},     {L"2500", true, 2500, false}, {L"never", true, 0, true},
        {L"", false, 0, false},     {L"-1", false, 0, false},     {L"12s", false, 0, false},
        {L"Never", false, 0, false}, {L"9999999999", false, 0, false},
    };
    for (const Case& c : cases) {
        TagDelay delay{77, false};
        EXPECT_EQ(ParseTagDelay(c.text, delay), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(delay.ms, c.ms) << c.text;
        EXPECT_EQ(delay.never, c.never) << c.text;
    }
}

TEST(SlowHostOptionsTest, CommandLineSetsEachAndRefusesBadValues) {
    HostOptions options = ParseHostOptions({L"--plugin", L"p.dll", L"--tag-delay", L"never", L"--tag-delay-file",
                                            L"b.mp3", L"--file-info-answer", L"0", L"--start-delay", L"150",
                                            L"--track-ms", L"400"});
    ASSERT_TRUE(options.error.empty()) << options.error.c_str();
    EXPECT_TRUE(options.tagDelay.never);
    EXPECT_EQ(options.tagDelayFile, L"b.mp3");
    EXPECT_EQ(options.fileInfoAnswer, 0u);
    EXPECT_EQ(options.startDelayMs, 150u);
    EXPECT_EQ(options.trackMs, 400u);

    HostOptions defaults = ParseHostOptions({L"--plugin", L"p.dll"});
    EXPECT_FALSE(defaults.tagDelay.never);
    EXPECT_EQ(defaults.tagDelay.ms, 0u);
    EXPECT_EQ(defaults.fileInfoAnswer, 1u) << "by default a dialog ends the series, as before";
    EXPECT_EQ(defaults.startDelayMs, 0u);
    EXPECT_EQ(defaults.trackMs, 0u);

    for (const wchar_t* name : {L"--tag-delay", L"--file-info-answer", L"--start-delay", L"--track-ms"}) {
        EXPECT_FALSE(ParseHostOptions({L"--plugin", L"p.dll", name, L"soon"}).error.empty()) << name;
        EXPECT_FALSE(ParseHostOptions({L"--plugin", L"p.dll", name}).error.empty()) << name << " without a value";
    }
}

// The file-information dialog's text is read back line by line, whatever the line ends.
TEST(SlowHostOptionsTest, DialogTextSplitsIntoLines) {
    using Lines = std::vector<std::wstring>;
    EXPECT_EQ(SplitLines(L"title: A\r\nartist: B\r\n"), (Lines{L"title: A", L"artist: B"}));
    EXPECT_EQ(SplitLines(L"title: A\nyear: 1999"), (Lines{L"title: A", L"year: 1999"}));
    EXPECT_EQ(SplitLines(L"a\r\n\r\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(SplitLines(L""), Lines{});
}

}  // namespace
