#include <gtest/gtest.h>

#include <cstring>

#include "loading/plugin_messages.h"

namespace kembo {
namespace {

// A 40-byte info header of width x height at bits per pixel, plain rows.
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0) {
    std::vector<uint8_t> h(40, 0);
    const auto put32 = [&](std::size_t at, uint32_t v) { std::memcpy(&h[at], &v, 4); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    h[12] = 1;
    std::memcpy(&h[14], &bits, 2);
    put32(16, compression);
    return h;
}

PictureReady Ready(int32_t width, int32_t height, uint32_t pixelBytes) {
    PictureReady ready;
    ready.header = InfoHeader(width, height, 24);
    ready.pixelBytes = pixelBytes;
    ready.info.width = width;
    ready.infoValid = true;
    return ready;
}

std::span<const uint8_t> Payload(const std::vector<uint8_t>& frame) {
    return std::span(frame).subspan(kFrameHeaderBytes);
}

MessageKind KindOf(const std::vector<uint8_t>& frame) { return ParseFrameHeader(frame)->kind; }

TEST(PluginMessagesTest, EveryMessageCrossesWholeAndNoPrefixOrSurplusParses) {
    PluginDescription described{DescribeOutcome::described, "C:\\p\\a.spi", "", "00IN", "a plug-in",
                                {"*.pic", "*.pi1;*.pi2"}, {"PIC", "PI"}};
    const std::vector<Request> requests = {DescribeRequest{"C:\\p\\a.spi"},
                                           ReadRequest{"C:\\p\\a.spi", "写真.pic", false, 0x44, 100, 2048, true},
                                           DeliverRequest{0x48, 36000000}};
    const std::vector<Reply> replies = {described, Ready(4000, -3000, 36000000), ReadDone{ReadOutcome::faulted}};
    for (const Request& request : requests) {
        const std::vector<uint8_t> frame = EncodeRequest(request);
        EXPECT_EQ(ParseRequest(KindOf(frame), Payload(frame)), request);
        EXPECT_FALSE(ParseReply(KindOf(frame), Payload(frame))) << "a request is no reply";
        for (std::size_t cut = kFrameHeaderBytes; cut < frame.size(); ++cut)
            EXPECT_FALSE(ParseRequest(KindOf(frame), std::span(frame).subspan(8, cut - 8))) << cut;
        std::vector<uint8_t> longer = frame;
        longer.push_back(0);
        EXPECT_FALSE(ParseRequest(KindOf(frame), Payload(longer)));
    }
    for (const Reply& reply : replies) {
        const std::vector<uint8_t> frame = EncodeReply(reply);
        EXPECT_EQ(ParseReply(KindOf(frame), Payload(frame)), reply);
        EXPECT_FALSE(ParseRequest(KindOf(frame), Payload(frame))) << "a reply is no request";
        for (std::size_t cut = kFrameHeaderBytes; cut < frame.size(); ++cut)
            EXPECT_FALSE(ParseReply(KindOf(frame), std::span(frame).subspan(8, cut - 8))) << cut;
        std::vector<uint8_t> longer = frame;
        longer.push_back(0);
        EXPECT_FALSE(ParseReply(KindOf(frame), Payload(longer)));
    }
}

TEST(PluginMessagesTest, FramesOfUnknownKindsOrHugePayloadsAreRefused) {
    const auto frame = [](uint32_t kind, uint32_t length) {
        std::vector<uint8_t> b(8);
        std::memcpy(&b[0], &kind, 4);
        std::memcpy(&b[4], &length, 4);
        return b;
    };
    EXPECT_TRUE(ParseFrameHeader(frame(102, kMaxPayload)));
    EXPECT_FALSE(ParseFrameHeader(frame(102, kMaxPayload + 1)));
    EXPECT_FALSE(ParseFrameHeader(frame(0, 4)));
    EXPECT_FALSE(ParseFrameHeader(frame(104, 4)));
    EXPECT_FALSE(ParseFrameHeader(std::vector<uint8_t>(7, 1)));
}

// The program makes a block only for what a sound header can need.
TEST(PluginMessagesTest, PicturesBeyondTheLimitsOrTheirHeadersAreRefused) {
    struct Case {
        const char* what;
        PictureReady ready;
        bool accepted;
    };
    PictureReady rle = Ready(100, 100, 15000);
    rle.header = InfoHeader(100, 100, 8, 1);
    PictureReady shortHeader = Ready(10, 10, 320);
    shortHeader.header.resize(39);
    PictureReady zeroBits = Ready(10, 10, 320);
    zeroBits.header[14] = 0;
    const Case cases[] = {
        {"exactly the rows", Ready(4000, 3000, 36000000), true},
        {"fewer bytes than rows", Ready(10, 10, 1), true},
        {"a byte beyond the rows", Ready(4000, 3000, 36000001), false},
        {"no pixels", Ready(10, 10, 0), false},
        {"a side beyond the limit", Ready(70000, 1, 210000), false},
        {"a store beyond the limit", Ready(65535, 65535, 1000), false},
        {"no width", Ready(0, 10, 10), false},
        {"no rows", Ready(10, 0, 10), false},
        {"a run-length stream a little longer than rows", rle, true},
        {"a header too short", shortHeader, false},
        {"no bits", zeroBits, false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> frame = EncodeReply(c.ready);
        EXPECT_EQ(ParseReply(MessageKind::pictureReady, Payload(frame)).has_value(), c.accepted) << c.what;
    }
}

TEST(PluginMessagesTest, RequestsOutsideTheirRangesAreRefused) {
    const ReadRequest good{"a.spi", "a.pic", true, 4, 10, 2048};
    struct Case {
        const char* what;
        Request request;
    };
    ReadRequest smallBlock = good;
    smallBlock.blockSize = 2047;
    ReadRequest dataBeyondBlock = good;
    dataBeyondBlock.dataSize = 2049;
    ReadRequest noHandle = good;
    noHandle.dataHandle = 0;
    ReadRequest noPlugin = good;
    noPlugin.pluginPath.clear();
    const Case cases[] = {{"block under 2 KiB", smallBlock},     {"data beyond its block", dataBeyondBlock},
                          {"no data handle", noHandle},          {"no plug-in", noPlugin},
                          {"no path", DescribeRequest{""}},      {"nothing to deliver", DeliverRequest{4, 0}},
                          {"no block", DeliverRequest{0, 100}}};
    EXPECT_TRUE(ParseRequest(MessageKind::read, Payload(EncodeRequest(good))));
    for (const Case& c : cases) {
        const std::vector<uint8_t> frame = EncodeRequest(c.request);
        EXPECT_FALSE(ParseRequest(KindOf(frame), Payload(frame))) << c.what;
    }
}

TEST(PluginMessagesTest, CountsThatCannotFollowAndUnknownOutcomesAreRefused) {
    std::vector<uint8_t> frame = EncodeReply(PluginDescription{});
    // outcome, four empty texts, then the count of formats: a lie of a thousand.
    const std::size_t countAt = kFrameHeaderBytes + 1 + 4 * 4;
    frame[countAt] = 0xE8;
    frame[countAt + 1] = 0x03;
    EXPECT_FALSE(ParseReply(MessageKind::described, Payload(frame)));
    frame = EncodeReply(PluginDescription{});
    frame[kFrameHeaderBytes] = 4;
    EXPECT_FALSE(ParseReply(MessageKind::described, Payload(frame)));
    frame = EncodeReply(ReadDone{});
    frame[kFrameHeaderBytes] = 3;
    EXPECT_FALSE(ParseReply(MessageKind::readDone, Payload(frame)));
}

TEST(PluginMessagesTest, TheDescriptionCacheReadsBackAndRefusesDamage) {
    PluginDescription notALibrary;
    notALibrary.outcome = DescribeOutcome::cannotLoad;
    const std::vector<CachedDescription> entries = {
        {"C:\\p\\a.spi", 1234, 0x01D9'0000'1111'2222ull,
         PluginDescription{DescribeOutcome::described, "C:\\p\\a.spi", "", "00IN", "a", {"*.a"}, {"A"}}},
        {"C:\\p\\x.spi", 5, 6, notALibrary},
    };
    const std::vector<uint8_t> bytes = EncodeDescriptionCache(entries);
    EXPECT_EQ(ParseDescriptionCache(bytes), entries);
    EXPECT_EQ(ParseDescriptionCache(EncodeDescriptionCache({})), std::vector<CachedDescription>{});
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(ParseDescriptionCache(std::span(bytes).first(cut))) << cut;
    std::vector<uint8_t> otherVersion = bytes;
    otherVersion[7] = '2';
    EXPECT_FALSE(ParseDescriptionCache(otherVersion));
}

TEST(PluginMessagesTest, TheHelperTakesOnlyTheCommandLineTheProgramGives) {
    const HelperHandles handles{0x1F4, 4294967295u};
    EXPECT_EQ(ParseHelperCommandLine(HelperCommandLine("C:\\Program Files\\K\\KEMBOSPI.EXE", handles)), handles);
    const std::optional<HelperHandles> none;
    const struct {
        const char* line;
        std::optional<HelperHandles> handles;
    } cases[] = {
        {"KEMBOSPI.EXE 12 34", HelperHandles{12, 34}},
        {"\"C:\\a b\\KEMBOSPI.EXE\"\t7  8 \t", HelperHandles{7, 8}},
        {"\"C:\\a b\\KEMBOSPI.EXE 7 8", none},  // no closing quote
        {"KEMBOSPI.EXE 12", none},
        {"KEMBOSPI.EXE 12 34 56", none},
        {"KEMBOSPI.EXE 0 34", none},
        {"KEMBOSPI.EXE 12 4294967296", none},
        {"KEMBOSPI.EXE 12 99999999999999999999999", none},
        {"KEMBOSPI.EXE -12 34", none},
        {"KEMBOSPI.EXE 12 34x", none},
        {"KEMBOSPI.EXE 12,34", none},
        {"\"KEMBOSPI.EXE\"12 34", none},
        {"", none},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHelperCommandLine(c.line), c.handles) << c.line;
}

}  // namespace
}  // namespace kembo
