// The property pages' speed. Target: selecting a layer fills its page in 5 ms or less; the
// part list is filled once at start-up, never per selection.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <cstdlib>

#include "app/shell/application.h"
#include "app/shell/settings_file.h"
#include "panes/details/details_pane.h"
#include "panes/details/layer_page.h"
#include "panes/details/part_list.h"
#include "panes/details/property_field.h"

namespace orvane::bench {
namespace {

// An editor's application with a shown details pane and an emblem of 225 layers that differ in
// everything the layer page shows.
struct PaneUnderTest {
  PaneUnderTest() {
    application.document().newDocument(u"bench", 192, 96);
    EmblemDocument& document = application.document();
    for (int i = 0; i < 225; ++i) {
      NodePtr layer = document.makeNewLayer();
      LayerRecord record = layer->layer();
      record.partId = (i * 37) % 1024;
      record.color = 0x1F000000u + std::uint32_t(i) * 0x20010203u;
      record.ltx = -i;
      record.rby = i;
      EmblemDocument::setLayerRecord(layer.get(), record);
      EmblemDocument::setName(layer.get(),
                              u"レイヤー" + std::u16string(1, char16_t(u'0' + i % 10)));
      document.appendChild(document.root(), std::move(layer));
    }
    pane.resize(250, 400);
    pane.show();
    QApplication::processEvents();
  }
  EmblemNode* layer(std::size_t row) const { return application.document().root()->childAt(row); }

  Application application;
  std::array<PaletteColour, kPaletteColours> colours = kDefaultPalette;
  DetailsPane pane{application, colours};
};

// One layer after another: every selection fills the layer page from a different record.
// With the argument 1 the pane is also painted at once, as the screen would show it.
void BM_SelectLayer(benchmark::State& state) {
  PaneUnderTest editor;
  const bool paint = state.range(0) != 0;
  std::size_t row = 0;
  for (auto _ : state) {
    editor.application.SetSelection(editor.layer(row));
    if (paint) editor.pane.repaint();
    row = (row + 1) % 225;
  }
  state.SetItemsProcessed(state.iterations());
}

// From the header to a layer and back: the page in the stacked area changes each time.
void BM_SelectRootThenLayer(benchmark::State& state) {
  PaneUnderTest editor;
  EmblemNode* root = editor.application.document().root();
  std::size_t row = 0;
  for (auto _ : state) {
    editor.application.SetSelection(root);
    editor.application.SetSelection(editor.layer(row));
    row = (row + 1) % 225;
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

// One key typed into a vertex field: the value is stored, the page refilled, the step recorded.
void BM_TypeIntoVertexField(benchmark::State& state) {
  PaneUnderTest editor;
  editor.application.SetSelection(editor.layer(0));
  QLineEdit* field = editor.pane.layerPage()->vertexField(VertexField::LtX);
  int value = 0;
  for (auto _ : state) field->setText(QString::number(++value % 100));
}

// The part list's model with its 1024 icons: made once at start-up.
void BM_MakePartList(benchmark::State& state) {
  Application application;
  for (auto _ : state) {
    PartListModel model(application.atlas());
    benchmark::DoNotOptimize(model.rowCount());
  }
}

BENCHMARK(BM_SelectLayer)->ArgName("paint")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectRootThenLayer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeIntoVertexField)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakePartList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
  // Widgets without a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
