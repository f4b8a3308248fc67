// PNG encoding of export pictures (192 x 96 emblems at scale 4): encodePixels against libspng
// alone at the same settings (the same filter for each row, level 2, from RGB rows packed
// beforehand), and against libspng's own filter options: the single Sub filter at level 2 and
// its own choice per row among all five filters, at levels 2 and 9. The "bytes" counter is the
// file's size. Targets: encodePixels within 1.1 x libspng alone; files no larger than Sub's
// (flat emblems: much smaller) in no more time.
#include <benchmark/benchmark.h>
#include <spng.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "formats/emblem_file.h"
#include "render/image_export.h"
#include "render/picture_file.h"
#include "render/png_filters.h"
#include "render_bench_scenes.h"

namespace orvane::bench {
namespace {

struct BenchPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;
  std::vector<std::uint8_t> rgb;
  std::vector<PngFilter> filters;  // encodePixels's choice for each row
};

// The export picture of picture 0 (the mixed scene), 1 (the mosaic), 2 (examples/crest.ovml)
// or 3 (examples/banner.ovml).
const BenchPicture& picture(int which) {
  static std::unique_ptr<BenchPicture> made[4];
  if (made[which]) return *made[which];
  EmblemDocument document;
  if (which == 0) mixedEmblem(document);
  if (which == 1) mosaicEmblem(document);
  if (which >= 2) {
    readEmblemFile(document, std::string(ORVANE_SOURCE_DIR) +
                                 (which == 2 ? "/examples/crest.ovml" : "/examples/banner.ovml"));
  }
  auto p = std::make_unique<BenchPicture>();
  Renderer renderer;
  if (!benchAtlas().empty() &&
      renderExportPicture(renderer, document, benchAtlas().pixels(), ExportSettings{})) {
    const PixelView view = renderer.backBuffer();
    p->width = view.width, p->height = view.height;
    p->argb.assign(view.pixels, view.pixels + std::size_t(view.width) * view.height);
    const std::size_t length = std::size_t(view.width) * 3;
    std::vector<std::uint8_t> rows(2 * (3 + length), 0);
    p->rgb.resize(length * std::size_t(view.height));
    for (int y = 0; y < view.height; ++y) {
      std::uint8_t* row = p->rgb.data() + length * std::size_t(y);
      for (int x = 0; x < view.width; ++x) {
        const std::uint32_t argb = view.at(x, y);
        row[3 * x] = std::uint8_t(argb >> 16), row[3 * x + 1] = std::uint8_t(argb >> 8);
        row[3 * x + 2] = std::uint8_t(argb);
      }
      // The chooser wants a pixel of zeros before each row, as the writer keeps them.
      std::uint8_t* current = rows.data() + (y % 2 ? 3 + length + 3 : 3);
      std::uint8_t* above = rows.data() + (y % 2 ? 3 : 3 + length + 3);
      std::copy_n(row, length, current);
      if (y == 0) std::fill_n(above, length, 0);
      p->filters.push_back(choosePngFilter(current, above, length, 3));
    }
  }
  made[which] = std::move(p);
  return *made[which];
}

void BM_EncodePixels(benchmark::State& state) {
  const BenchPicture& p = picture(int(state.range(0)));
  if (p.argb.empty()) return state.SkipWithError("no picture");
  std::string bytes;
  for (auto _ : state) {
    if (!encodePixels(p.argb.data(), p.width, p.height, ImageFormat::Png, false, bytes)) {
      return state.SkipWithError("encoder failed");
    }
  }
  state.counters["bytes"] = double(bytes.size());
}

// libspng from packed RGB rows: with `perRow` the filters encodePixels chose (libspng makes room
// for a row filtered any way only when every filter is allowed at the start), else `filters`.
void libspng(benchmark::State& state, int filters, int level, bool perRow) {
  const BenchPicture& p = picture(int(state.range(0)));
  if (p.argb.empty()) return state.SkipWithError("no picture");
  std::size_t size = 0;
  const std::size_t length = std::size_t(p.width) * 3;
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, level);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, filters);
    spng_ihdr ihdr{};
    ihdr.width = std::uint32_t(p.width), ihdr.height = std::uint32_t(p.height);
    ihdr.bit_depth = 8, ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx, &ihdr);
    if (perRow) {
      spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG,
                        SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
      for (int y = 0; y < p.height; ++y) {
        spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE << int(p.filters[y]));
        spng_encode_row(ctx, p.rgb.data() + length * std::size_t(y), length);
      }
    } else {
      spng_encode_image(ctx, p.rgb.data(), p.rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    }
    int rc = 0;
    void* buffer = spng_get_png_buffer(ctx, &size, &rc);
    std::free(buffer);
    spng_ctx_free(ctx);
    if (rc != 0) return state.SkipWithError("libspng failed");
  }
  state.counters["bytes"] = double(size);
}

void BM_LibspngSameSettings(benchmark::State& state) {
  libspng(state, SPNG_FILTER_CHOICE_ALL, 2, true);
}
void BM_LibspngSubFilter(benchmark::State& state) {
  libspng(state, SPNG_FILTER_CHOICE_SUB, 2, false);
}
void BM_LibspngAllFilters(benchmark::State& state) {
  libspng(state, SPNG_FILTER_CHOICE_ALL, 2, false);
}
void BM_LibspngAllFiltersLevel9(benchmark::State& state) {
  libspng(state, SPNG_FILTER_CHOICE_ALL, 9, false);
}

void pictures(benchmark::internal::Benchmark* b) {
  b->ArgName("picture")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_EncodePixels)->Apply(pictures);
BENCHMARK(BM_LibspngSameSettings)->Apply(pictures);
BENCHMARK(BM_LibspngSubFilter)->Apply(pictures);
BENCHMARK(BM_LibspngAllFilters)->Apply(pictures);
BENCHMARK(BM_LibspngAllFiltersLevel9)->Apply(pictures);

}  // namespace
}  // namespace orvane::bench
