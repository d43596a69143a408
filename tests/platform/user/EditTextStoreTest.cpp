// The edit engine's text store: copies in blocks of its own, shared texts referred to in place, blocks that go
// when nothing refers to them, and waste moved out once it outweighs the text.
#include "platform/user/controls/EditTextStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::user::edit {
namespace {

std::shared_ptr<const std::string> SharedLog(std::string text) {
    return std::make_shared<const std::string>(std::move(text));
}

TEST(TextStore, PiecesAddedReadBackWholeAndAReservedTextLiesInOneBlock) {
    TextStore store;
    const TextSpan joined = store.Add("ab", "", "cd");
    EXPECT_EQ(store.View(joined), "abcd");
    const TextSpan empty = store.Add("");
    EXPECT_EQ(empty.Bytes, 0u);
    EXPECT_EQ(store.View(empty), "");
    store.Release(empty);   // nothing to let go of
    store.Reserve(100000);
    const std::size_t reserved = store.OwnBytes();
    std::vector<TextSpan> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back(store.Add("line " + std::to_string(i)));
    EXPECT_EQ(store.OwnBytes(), reserved);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(store.View(lines[std::size_t(i)]), "line " + std::to_string(i));
    EXPECT_EQ(store.View(joined), "abcd");   // what was there before stays where it was
}

TEST(TextStore, ASharedTextIsReferredToInPlaceAndLivesWhileASpanHoldsIt) {
    TextStore store;
    auto log = SharedLog("first\r\nsecond\r\n");
    const std::weak_ptr<const std::string> watch = log;
    const TextSpan first = store.Refer(log, std::string_view(*log).substr(0, 5));
    const TextSpan second = store.Refer(log, std::string_view(*log).substr(7, 6));
    EXPECT_EQ(store.View(first).data(), log->data());   // not a copy
    EXPECT_EQ(store.View(second), "second");
    EXPECT_EQ(store.OwnBytes(), 0u);
    EXPECT_EQ(store.SharedTexts(), 1u);   // one block for both
    log.reset();
    store.Release(first);
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(store.View(second), "second");
    store.Release(second);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(store.SharedTexts(), 0u);
}

TEST(TextStore, ALargeBlockNoSpanRefersToGoesAtOnce) {
    TextStore store;
    const std::string large(TextStore::LargeBlock, 'x');
    const TextSpan a = store.Add(large);
    const TextSpan b = store.Add(large);   // a block of its own: the first has no room left
    EXPECT_GE(store.OwnBytes(), 2 * large.size());
    store.Release(a);
    EXPECT_LT(store.OwnBytes(), 2 * large.size());
    EXPECT_EQ(store.View(b), large);
    store.Release(b);   // the block being filled stays, to be filled again from its start
    const TextSpan c = store.Add("again");
    EXPECT_EQ(store.View(c), "again");
    EXPECT_LT(store.OwnBytes(), 2 * large.size());
}

// Typing into one line of a long text: each change copies the line and lets the old copy go, and a line added
// now and then keeps the block it lies in. The bytes left for nothing never outweigh the text by much once the
// owner moves the spans into a fresh store when told to.
TEST(TextStore, WasteIsMovedOutOnceItOutweighsTheText) {
    TextStore store;
    std::vector<TextSpan> lines;
    for (int i = 0; i < 100; ++i)
        lines.push_back(store.Add(std::string(100, char('a' + i % 26))));
    std::string typed;
    bool moved = false;
    for (int i = 0; i < 5000; ++i) {
        typed += 'k';
        const TextSpan next = store.Add(typed);
        store.Release(lines[50]);
        lines[50] = next;
        if (i % 100 == 0) lines.push_back(store.Add("added " + std::to_string(i)));
        if (!store.Wasteful()) continue;
        TextStore fresh;
        fresh.Reserve(store.LiveBytes());
        for (TextSpan& span : lines)
            span = fresh.Keep(store, span);
        store = std::move(fresh);
        moved = true;
        EXPECT_FALSE(store.Wasteful());
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(store.View(lines[50]), typed);
    EXPECT_EQ(store.View(lines[49]), std::string(100, char('a' + 49 % 26)));
    EXPECT_EQ(store.View(lines.back()), "added 4900");
    EXPECT_LT(store.OwnBytes(), 4 * store.LiveBytes() + (std::size_t(256) << 10));
}

// A line handed in piece by piece grows in place: every piece that follows the span in its shared text makes it
// longer, nothing is copied, and no byte counts as let go of while the line holds it.
TEST(TextStore, ASpanExtendedByTheBytesThatFollowItStaysInPlace) {
    auto log = SharedLog(std::string(300000, 'x') + "tail");
    const std::string_view text = *log;
    TextStore store;
    TextSpan line = store.Refer(log, text.substr(0, 1000));
    for (std::size_t from = 1000; from < text.size(); from += 1000) {
        const std::optional<TextSpan> longer = store.Extend(line, log, text.substr(from, 1000));
        ASSERT_TRUE(longer.has_value()) << from;
        store.ReleaseCovered(line);
        line = *longer;
        EXPECT_EQ(store.LiveBytes(), std::min(from + 1000, text.size()));
        EXPECT_FALSE(store.Wasteful());
    }
    EXPECT_EQ(store.View(line).data(), log->data());
    EXPECT_EQ(store.View(line).size(), text.size());
    EXPECT_EQ(store.OwnBytes(), 0u);
    // Bytes that do not follow the span, or lie in another text, are no extension.
    EXPECT_FALSE(store.Extend(line, log, text.substr(10, 5)).has_value());
    auto other = SharedLog("more");
    EXPECT_FALSE(store.Extend(line, other, *other).has_value());
    const std::weak_ptr<const std::string> watch = log;
    log.reset();
    store.Release(line);
    EXPECT_TRUE(watch.expired());
}

TEST(TextStore, KeepLeavesASharedTextInPlaceWhileMostOfItIsInUseAndCopiesTheRest) {
    auto log = SharedLog(std::string(200000, 'a') + std::string(200000, 'b'));
    TextStore store;
    const TextSpan as = store.Refer(log, std::string_view(*log).substr(0, 200000));
    const TextSpan bs = store.Refer(log, std::string_view(*log).substr(200000, 1000));
    TextStore kept;
    const TextSpan keptB = kept.Keep(store, bs);
    EXPECT_EQ(kept.View(keptB).data(), log->data() + 200000);
    EXPECT_EQ(kept.OwnBytes(), 0u);
    // Once most of what was referred to is let go of, the rest is copied and the text can go.
    store.Release(as);
    EXPECT_TRUE(store.Wasteful());
    const std::weak_ptr<const std::string> watch = log;
    log.reset();
    TextStore copied;
    const TextSpan copiedB = copied.Keep(store, bs);
    EXPECT_EQ(copied.View(copiedB), std::string(1000, 'b'));
    EXPECT_EQ(copied.SharedTexts(), 0u);
    store = TextStore();
    kept = TextStore();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(copied.View(copiedB), std::string(1000, 'b'));
}

}
}
