#include "audio/oggencoder.h"

#include <algorithm>
#include <vorbis/vorbisenc.h>

namespace {

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Hands every finished block to the stream and appends the pages it completes.
void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                AppendPage(out, page);
        }
    }
}

} // namespace

std::vector<uint8_t> EncodeOggVorbis(const int16_t* pcm, int64_t frames, int channels, int hertz, float quality)
{
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (channels < 1 || vorbis_encode_init_vbr(&info, channels, hertz, quality) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1); // a fixed serial number keeps the output reproducible

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        AppendPage(out, page);

    const int64_t chunk = 4096;
    for (int64_t start = 0; start < frames; start += chunk) {
        const int64_t n = std::min(chunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        const int16_t* in = pcm + start * channels;
        for (int64_t i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = *in++ / 32768.0f;
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        Drain(dsp, block, stream, out);
    }
    vorbis_analysis_wrote(&dsp, 0); // end of stream
    Drain(dsp, block, stream, out);
    while (ogg_stream_flush(&stream, &page))
        AppendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
