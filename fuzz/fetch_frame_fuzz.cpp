// Feeds arbitrary bytes to the decoders of the fetch helper's frames, which read what another
// process wrote: the start message and the request (the helper's side), the reply (the
// program's), and a run of frames on a pipe. Nothing here may crash, hang or read outside the
// bytes; a message that decodes must encode back to the very same bytes.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fetch_frames.h"

namespace fetch_frame = dv::platform::fetch_frame;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte picks the decoder, the second the limit of a reply (16-byte steps).
    const std::string_view body(reinterpret_cast<const char*>(data + 2), size - 2);
    switch (data[0] % 4) {
        case 0: {
            dv::platform::SmbSessionLogin login;
            if (fetch_frame::DecodeStart(body, login) && fetch_frame::EncodeStart(login) != body)
                __builtin_trap();
            break;
        }
        case 1: {
            std::string url;
            int64_t listed = 0;
            uint64_t limit = 0;
            if (fetch_frame::DecodeRequest(body, url, listed, limit) &&
                fetch_frame::EncodeRequest(url, listed, limit) != body)
                __builtin_trap();
            break;
        }
        case 2: {
            const size_t limit = static_cast<size_t>(data[1]) * 16;
            dv::platform::FetchedFile file;
            dv::platform::FileCalls calls;
            if (fetch_frame::DecodeReply(body, limit, file, calls) &&
                (file.bytes.size() > limit || fetch_frame::EncodeReply(file, calls) != body))
                __builtin_trap();
            break;
        }
        default: {
            // Frames of at most the second byte's length, read until the input ends or one is
            // refused: the whole input is in the pipe before the first read.
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return 0;
            const bool written =
                ::write(fds[1], body.data(), body.size()) == static_cast<ssize_t>(body.size());
            ::close(fds[1]);
            std::string frame;
            size_t taken = 0;
            while (written &&
                   fetch_frame::ReadFrame(fds[0], data[1], frame, {}) == fetch_frame::Status::kOk) {
                if (frame.size() > data[1]) __builtin_trap();
                taken += 4 + frame.size();
                if (taken > body.size()) __builtin_trap();
            }
            ::close(fds[0]);
            break;
        }
    }
    return 0;
}
