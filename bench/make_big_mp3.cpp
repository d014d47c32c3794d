// make_big_mp3 SOURCE OUT BYTES: a large file for benchmarks: the source's
// header frame (Xing or Info) followed by its audio repeated up to BYTES, with
// the header's counts made to match.
#include "base/output_file.h"
#include "engine/mp3_info.h"
#include "engine/segment_writer.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_big_mp3 SOURCE OUT BYTES\n");
        return 2;
    }
    keldro::CMP3Info info;
    if (!info.Analyse(argv[1]) || !info.HasHeaderFrame()) {
        std::fprintf(stderr, "%s: not an MP3 with a header frame\n", argv[1]);
        return 1;
    }
    keldro::FileReader reader = keldro::FileReader::Open(argv[1]);
    std::vector<std::uint8_t> header(info.FirstFrameOffset() - info.VbrFrameOffset());
    std::vector<std::uint8_t> audio(info.AudioEnd() - info.FirstFrameOffset());
    reader.ReadAt(info.VbrFrameOffset(), header.data(), header.size());
    reader.ReadAt(info.FirstFrameOffset(), audio.data(), audio.size());

    const auto target = std::strtoull(argv[3], nullptr, 10);
    const std::uint64_t copies = target / audio.size() + 1;
    const auto frames = static_cast<std::uint32_t>(info.VbrFrames() * copies);
    const auto bytes = static_cast<std::uint32_t>(header.size() + audio.size() * copies);
    keldro::PatchVbrHeader(std::span(header).subspan(info.VbrTagOffset() - info.VbrFrameOffset()),
                           frames, bytes, info.VbrType());
    keldro::OutputFile out(argv[2]);
    bool ok = out.Write(header.data(), header.size());
    for (std::uint64_t i = 0; ok && i < copies; ++i)
        ok = out.Write(audio.data(), audio.size());
    if (!ok || out.Commit(true) != keldro::OutputFile::CommitResult::Done) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
