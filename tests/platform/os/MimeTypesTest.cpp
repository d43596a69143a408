// Tests of MIME types by file name through glob rules: weights, literal names, case, suffix look-up.
#include "platform/os/MimeTypes.h"

#include <gtest/gtest.h>

using namespace korvex::os;

TEST(MimeGlobs, MatchesByLiteralThenWeightThenLength) {
    TMimeGlobs globs;
    globs.Parse(
        "# comment\n"
        "50:text/plain:*.txt\n"
        "50:application/x-compressed-tar:*.tar.gz\n"
        "50:application/gzip:*.gz\n"
        "60:text/x-weighty:*.wt\n"
        "40:text/x-light:*.wt\n"
        "50:text/x-makefile:makefile\n"
        "50:text/x-c:*.c:cs\n"
        "50:text/x-c++:*.C:cs\n"
        "50:application/x-sharedlib:*.so.[0-9]*\n"
        "bad line\n"
        "x:text/x-bad:*.bad\n");
    EXPECT_EQ(globs.Count(), 9);
    struct Case {
        const char* Name;
        const char* Type;
    } cases[] = {
        {"notes.TXT", "text/plain"},
        {"a.tar.gz", "application/x-compressed-tar"},
        {"a.gz", "application/gzip"},
        {"w.wt", "text/x-weighty"},
        {"Makefile", "text/x-makefile"},
        {"main.c", "text/x-c"},
        {"main.C", "text/x-c++"},
        {"libx.so.1", "application/x-sharedlib"},
        {"noext", ""},
        {"x.bad", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(globs.Match(c.Name), c.Type) << c.Name;
}

TEST(MimeGlobs, FoldersAndUnknownFilesGetFixedTypes) {
    EXPECT_EQ(MimeTypeOf("anything.txt", true), MimeFolder);
    EXPECT_EQ(MimeTypeOf("no-such-extension.zzqqx", false), MimeUnknown);
}
