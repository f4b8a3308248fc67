// One pointer move of a drag in the real drawing pane, offscreen: the move reaches the pane, the
// pending move changes every layer of the 225-layer mixed scene (the whole emblem selected), and
// the pane draws and shows its picture. Targets: 8 ms a move without blur, 16 ms with it, and
// exactly one picture per move (the "pictures/move" counter).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/editor_session.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "panes/drawing/drawing_pane.h"
#include "render_bench_scenes.h"

namespace orvane::bench {
namespace {

void dragMoves(benchmark::State& state) {
  QTemporaryDir folder;
  EditorSession session("/nonexistent", ConfigEnvironment{(folder.path() + "/c").toStdString(), ""},
                        folder.path().toStdString(), std::nullopt);
  session.settings().gaussianBlur = state.range(0) != 0;
  QtFileDialogs dialogs;
  MainWindow window(session.application(), session.settings(), dialogs);
  window.resize(1200, 500);
  window.show();
  Application& application = session.application();
  mixedEmblem(application.document());
  application.SetSelection(application.document().root());
  DrawingPane* pane = window.drawingPane();

  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, pane->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(pane, &event);
  };
  send(QEvent::MouseButtonPress, QPoint(384, 192), Qt::LeftButton);
  const long before = pane->pictureCount();
  long moves = 0;
  for (auto _ : state) {
    ++moves;
    send(QEvent::MouseMove, QPoint(384 + 4 * (moves % 20), 192), Qt::LeftButton);
  }
  state.counters["pictures/move"] =
      static_cast<double>(pane->pictureCount() - before) / static_cast<double>(moves);
  send(QEvent::MouseButtonRelease, QPoint(384, 192), Qt::NoButton);
  session.application().resetHistory();
}

BENCHMARK(dragMoves)->Arg(0)->Arg(1)->ArgName("blur")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
