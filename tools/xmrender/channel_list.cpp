#include "xmrender/channel_list.h"

#include "common/command_line.h"
#include "records/xm_format.h"

#include <bit>
#include <charconv>

namespace omra::tools {

namespace {

bool readChannel(const char*& at, const char* end, int& channel) {
    const auto [next, error] = std::from_chars(at, end, channel);
    if (error != std::errc() || next == at || channel < 1 || channel > xm::MaxChannels) {
        return false;
    }
    at = next;
    return true;
}

} // namespace

std::uint32_t parseChannelList(const std::string& option, const std::string& text) {
    const UsageError wrong(option + " takes channels from 1 to 32 like 1,3-5, not '" + text + "'");
    std::uint32_t channels = 0;
    const char* at = text.data();
    const char* end = at + text.size();
    for (;;) {
        int first = 0;
        if (!readChannel(at, end, first)) {
            throw wrong;
        }
        int last = first;
        if (at != end && *at == '-' && (!readChannel(++at, end, last) || last < first)) {
            throw wrong;
        }
        for (int channel = first; channel <= last; ++channel) {
            channels |= 1u << (channel - 1);
        }
        if (at == end) {
            return channels;
        }
        if (*at++ != ',') {
            throw wrong;
        }
    }
}

std::uint32_t heardChannels(std::uint32_t solo, std::uint32_t mute, int channelCount) {
    const std::uint32_t present = channelCount >= xm::MaxChannels ? ~0u : (1u << channelCount) - 1;
    const std::uint32_t unknown = (solo | mute) & ~present;
    if (unknown != 0) {
        throw UsageError("no channel " + std::to_string(std::countr_zero(unknown) + 1) +
                         ": the module has " + std::to_string(channelCount) + " channels");
    }
    return (solo != 0 ? solo : present) & ~mute;
}

} // namespace omra::tools
