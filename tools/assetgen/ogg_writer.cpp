#include "tools/assetgen/ogg_writer.h"

#include "tools/assetgen/output_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

// The libvorbis and libogg states of one encoding, released together.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysis = false, streaming = false;

    Encoder()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder()
    {
        if (streaming)
            ogg_stream_clear(&stream);
        if (analysis) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

void WritePage(FILE* file, const ogg_page& page)
{
    if (std::fwrite(page.header, 1, size_t(page.header_len), file) != size_t(page.header_len) ||
        std::fwrite(page.body, 1, size_t(page.body_len), file) != size_t(page.body_len))
        throw std::runtime_error("cannot write an Ogg page");
}

// Hands every finished block to the stream and writes out full pages. Sample positions are
// capped at `frames`, so a decoder drops whatever was encoded after them.
void Drain(Encoder& e, FILE* file, ogg_int64_t frames)
{
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
            packet.granulepos = std::min(packet.granulepos, frames);
            ogg_stream_packetin(&e.stream, &packet);
            ogg_page page;
            while (ogg_stream_pageout(&e.stream, &page))
                WritePage(file, page);
        }
    }
}

} // namespace

void WriteOgg(const std::string& path, const SoundClip& clip, float quality, bool loop)
{
    OutputFile file(path);
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, clip.channels, kSampleRate, quality) != 0)
        throw std::runtime_error("vorbis encoder refused the settings for " + path);
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    e.analysis = true;
    ogg_stream_init(&e.stream, 0x42524D53); // fixed serial number: reproducible files
    e.streaming = true;

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &comments, &codebooks);
    ogg_stream_packetin(&e.stream, &header);
    ogg_stream_packetin(&e.stream, &comments);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&e.stream, &page))
        WritePage(file.Get(), page);

    // A loop is encoded running on into its own start, so the coder sees the music flow
    // through the seam instead of stopping dead; the stream's last sample position tells the
    // decoder to drop the run-out again.
    const size_t frames = clip.Frames(), runout = loop ? std::min<size_t>(2048, frames) : 0;
    const size_t total = frames + runout, chunk = 4096;
    for (size_t at = 0; at < total; at += chunk) {
        size_t n = std::min(chunk, total - at);
        float** buffer = vorbis_analysis_buffer(&e.dsp, int(n));
        for (size_t i = 0; i < n; ++i) {
            size_t frame = (at + i) % frames;
            for (int c = 0; c < clip.channels; ++c)
                buffer[c][i] = clip.samples[frame * clip.channels + c];
        }
        vorbis_analysis_wrote(&e.dsp, int(n));
        Drain(e, file.Get(), ogg_int64_t(frames));
    }
    vorbis_analysis_wrote(&e.dsp, 0);
    Drain(e, file.Get(), ogg_int64_t(frames));
    while (ogg_stream_flush(&e.stream, &page))
        WritePage(file.Get(), page);
    file.Commit();
}
