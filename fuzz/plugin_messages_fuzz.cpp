// The messages between the program and its plug-in helper are outside input on both sides (a
// plug-in can make the helper say anything), as are the description cache file and the helper's
// command line: any bytes must parse or be refused, never read beyond the payload, and what
// parses must encode back to the same message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "loading/plugin_messages.h"

namespace {

constexpr kembo::MessageKind kKinds[] = {kembo::MessageKind::describe,  kembo::MessageKind::read,
                                         kembo::MessageKind::deliver,   kembo::MessageKind::described,
                                         kembo::MessageKind::pictureReady, kembo::MessageKind::readDone};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::span<const uint8_t> payload(data + 1, size - 1);
    const kembo::MessageKind kind = kKinds[data[0] % std::size(kKinds)];
    kembo::ParseFrameHeader(payload);
    if (const auto request = kembo::ParseRequest(kind, payload)) {
        const std::vector<uint8_t> frame = kembo::EncodeRequest(*request);
        Check(kembo::ParseRequest(kind, std::span(frame).subspan(kembo::kFrameHeaderBytes)) == request);
    }
    if (const auto reply = kembo::ParseReply(kind, payload)) {
        const std::vector<uint8_t> frame = kembo::EncodeReply(*reply);
        Check(kembo::ParseReply(kind, std::span(frame).subspan(kembo::kFrameHeaderBytes)) == reply);
    }
    if (const auto cache = kembo::ParseDescriptionCache(payload))
        Check(kembo::ParseDescriptionCache(kembo::EncodeDescriptionCache(*cache)) == cache);
    const std::string_view line(reinterpret_cast<const char*>(payload.data()), payload.size());
    if (const auto handles = kembo::ParseHelperCommandLine(line))
        Check(kembo::ParseHelperCommandLine(kembo::HelperCommandLine("KEMBOSPI.EXE", *handles)) == handles);
    return 0;
}
