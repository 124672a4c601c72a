#include "tools/datakit/OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tools/datakit/ByteWriter.h"

namespace datakit {
namespace {

void Append(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

OggWriter::OggWriter(int channels, long rate) : channels_(channels), rate_(rate) {}

OggWriter& OggWriter::Tone(double hz, uint32_t frames, double amplitude) {
  for (uint32_t i = 0; i < frames; ++i) {
    float v = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / rate_));
    for (int c = 0; c < channels_; ++c) samples_.push_back(v);
  }
  return *this;
}

OggWriter& OggWriter::Silence(uint32_t frames) {
  samples_.insert(samples_.end(), static_cast<size_t>(frames) * channels_, 0.0f);
  return *this;
}

std::vector<uint8_t> OggWriter::Build() const {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels_, rate_, 0.4f) != 0) {
    vorbis_info_clear(&vi);
    throw std::runtime_error("vorbis encoder refused the format");
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);

  std::vector<uint8_t> out;
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) Append(out, page);

  auto drain = [&] {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) ogg_stream_packetin(&os, &packet);
    }
    // Small pages, so that damage to a file takes out a small part of it.
    while (ogg_stream_flush(&os, &page) != 0) Append(out, page);
  };
  const size_t frames = Frames();
  for (size_t at = 0; at < frames;) {
    int n = static_cast<int>(std::min<size_t>(1024, frames - at));
    float** buffer = vorbis_analysis_buffer(&vd, n);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < channels_; ++c) buffer[c][i] = samples_[(at + i) * channels_ + c];
    vorbis_analysis_wrote(&vd, n);
    drain();
    at += static_cast<size_t>(n);
  }
  vorbis_analysis_wrote(&vd, 0);
  drain();
  while (ogg_stream_flush(&os, &page) != 0) Append(out, page);

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

void OggWriter::Save(const std::string& path) const { SaveFile(path, Build()); }

}  // namespace datakit
