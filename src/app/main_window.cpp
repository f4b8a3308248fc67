#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/file_dialogs.h"
#include "app/pane_splitter.h"
#include "app/recovery_keeper.h"
#include "app/shell/application.h"
#include "app/shell/recent_files.h"
#include "app/shell/settings_file.h"
#include "app/shell/window_title.h"
#include "app/tools/tool_commands.h"
#include "core_version.h"
#include "editing/pane_geometry.h"
#include "panes/details/details_pane.h"
#include "panes/drawing/drawing_pane.h"
#include "panes/drawing/editor_host.h"
#include "panes/layers/layer_pane.h"

namespace orvane {
namespace {

QString qt(const std::string& text) { return QString::fromUtf8(text.data(), text.size()); }

QString pointText(Point p) { return QStringLiteral("(%1, %2)").arg(p.x).arg(p.y); }

}  // namespace

MainWindow::MainWindow(Application& application, Settings& settings, FileDialogs& dialogs,
                       RecoveryStore* recovery, QWidget* parent)
    : QMainWindow(parent),
      application_(application),
      settings_(settings),
      dialogs_(dialogs),
      files_(application, settings, dialogs, *this),
      recoveryKeeper_(new RecoveryKeeper(application, recovery, this)) {
  setObjectName(QStringLiteral("OrvaneEditor"));
  // A caption, a system menu, a sizing border and a minimise box; no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowFlag(Qt::WindowStaysOnTopHint, settings_.windowTopMost);
  setAcceptDrops(true);
  buildPanes();
  buildMenus();
  connectToolCommands(*this, application_, dialogs_);
  pointerLabel_ = new QLabel(this);
  statusBar()->addWidget(pointerLabel_, 1);
  // The window's own observers come after the panes', so they are called first.
  application_.watchDocumentForSelection();
  application_.setHistoryObserver([this] { showHistory(); });
  files_.newEmblem();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildPanes() {
  outer_ = new PaneSplitter(SplitOrientation::SizedLeft, settings_.layerPaneSize,
                            settings_.layerPaneBorder, this);
  layerPane_ = new LayerPane(application_);
  auto* host = new QWidget;
  inner_ = new PaneSplitter(SplitOrientation::SizedRight, settings_.detailsPaneSize,
                            settings_.detailsPaneBorder, host);
  editorHost_ = new EditorHost(application_);
  detailsPane_ = new DetailsPane(application_, settings_.colorPalette);
  inner_->setPanes(editorHost_, detailsPane_);
  outer_->setPanes(layerPane_, host);
  // The host keeps the inner splitter filling it.
  struct Filler : QObject {
    PaneSplitter* inner;
    Filler(PaneSplitter* s, QObject* parent) : QObject(parent), inner(s) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Resize) {
        inner->setGeometry(static_cast<QWidget*>(watched)->rect());
      }
      return false;
    }
  };
  host->installEventFilter(new Filler(inner_, host));
  setCentralWidget(outer_);

  DrawingPane* pane = editorHost_->pane();
  pane->setColourCorrection(settings_.colorConvert);
  pane->setBlur(settings_.gaussianBlur);
  connect(pane, &DrawingPane::pointerMoved, this, &MainWindow::showPointer);
  connect(pane, &DrawingPane::editFinished, this,
          [this](const QString& what, const QString& mergeKey) {
            application_.recordEdit(what.toStdString(), mergeKey.toStdString());
          });
}

DrawingPane* MainWindow::drawingPane() const { return editorHost_->pane(); }

QAction* MainWindow::addCommand(QMenu* menu, Command command, const QString& text,
                                const QKeySequence& key) {
  const int number = static_cast<int>(command);
  // The shortcut is shown after a tab, as menus show it; Qt takes the part after the tab as
  // the shortcut's label.
  QAction* action = menu->addAction(
      key.isEmpty() ? text : text + QLatin1Char('\t') + key.toString(QKeySequence::NativeText));
  action->setData(number);
  action->setObjectName(QStringLiteral("command%1").arg(number));
  if (!key.isEmpty()) {
    action->setShortcut(key);
    // The shortcuts act wherever the keyboard focus is, in the property pages' fields too.
    action->setShortcutContext(Qt::ApplicationShortcut);
  }
  actions_[command] = action;
  return action;
}

QAction* MainWindow::action(Command command) const {
  const auto found = actions_.find(command);
  return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  connect(addCommand(file, Command::New, QStringLiteral("新規(&N)"),
                     QKeySequence(Qt::CTRL | Qt::Key_N)),
          &QAction::triggered, this, [this] {
            if (files_.confirmDiscard()) files_.newEmblem();
          });
  connect(addCommand(file, Command::Open, QStringLiteral("開く(&O)..."),
                     QKeySequence(Qt::CTRL | Qt::Key_O)),
          &QAction::triggered, this, [this] { files_.openEmblemFile(); });
  connect(addCommand(file, Command::Save, QStringLiteral("上書き保存(&S)"),
                     QKeySequence(Qt::CTRL | Qt::Key_S)),
          &QAction::triggered, this, [this] { files_.saveEmblemFile(false); });
  connect(addCommand(file, Command::SaveAs, QStringLiteral("名前を付けて保存(&A)...")),
          &QAction::triggered, this, [this] { files_.saveEmblemFile(true); });
  recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
  recentMenu_->setObjectName(QStringLiteral("recentFiles"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentFilesMenu);
  fillRecentFilesMenu();
  file->addSeparator();
  connect(addCommand(file, Command::Exit, QStringLiteral("終了(&X)"), QKeySequence(Qt::Key_Escape)),
          &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  QAction* undo = addCommand(edit, Command::Undo, QStringLiteral("元に戻す(&U)"),
                             QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = addCommand(edit, Command::Redo, QStringLiteral("やり直し(&R)"),
                             QKeySequence(Qt::CTRL | Qt::Key_Y));
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(undo, &QAction::triggered, this, [this] { application_.undo(); });
  connect(redo, &QAction::triggered, this, [this] { application_.redo(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  QAction* viewer = addCommand(view, Command::ViewerMode, QStringLiteral("ビューアモード(&V)"));
  QAction* colour = addCommand(view, Command::ColourCorrection, QStringLiteral("色調補正(&C)"));
  QAction* blur = addCommand(view, Command::Blur, QStringLiteral("ぼかし(&B)"));
  view->addSeparator();
  QAction* onTop = addCommand(view, Command::AlwaysOnTop, QStringLiteral("常に手前に表示(&A)"));
  for (QAction* toggle : {viewer, colour, blur, onTop}) toggle->setCheckable(true);
  viewer->setChecked(settings_.viewerMode);
  colour->setChecked(settings_.colorConvert);
  blur->setChecked(settings_.gaussianBlur);
  onTop->setChecked(settings_.windowTopMost);
  // Each toggle flips its field first and then sets the mark from the new value.
  connect(viewer, &QAction::triggered, this, [this, viewer] {
    settings_.viewerMode = !settings_.viewerMode;
    viewer->setChecked(settings_.viewerMode);
    files_.applyViewerMode();
  });
  connect(colour, &QAction::triggered, this, [this, colour] {
    settings_.colorConvert = !settings_.colorConvert;
    colour->setChecked(settings_.colorConvert);
    drawingPane()->setColourCorrection(settings_.colorConvert);
  });
  connect(blur, &QAction::triggered, this, [this, blur] {
    settings_.gaussianBlur = !settings_.gaussianBlur;
    blur->setChecked(settings_.gaussianBlur);
    drawingPane()->setBlur(settings_.gaussianBlur);
  });
  connect(onTop, &QAction::triggered, this, &MainWindow::toggleAlwaysOnTop);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
  addCommand(tools, Command::BlockArt, QStringLiteral("ブロックアート作成(&B)..."));
  addCommand(tools, Command::RandomArt, QStringLiteral("ランダムアート作成(&R)..."));
  addCommand(tools, Command::BatchConversion, QStringLiteral("一括変換(&C)..."));

  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  connect(addCommand(help, Command::Version, QStringLiteral("バージョン情報(&A)")),
          &QAction::triggered, this, &MainWindow::showVersion);
}

void MainWindow::fillRecentFilesMenu() {
  recentMenu_->clear();
  const RecentFiles recent(settings_.recentFiles);
  int number = 1;
  for (const RecentFileEntry& entry : recent.entries()) {
    QAction* item =
        recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(qt(entry.path)));
    item->setEnabled(!entry.missing);
    const QString path = qt(entry.path);
    connect(item, &QAction::triggered, this, [this, path] { files_.openEmblemFile(path); });
  }
  recentMenu_->setEnabled(!recent.paths().empty());
}

void MainWindow::showTitleFor(const std::string& path) {
  titlePath_ = path;
  showHistory();
  fillRecentFilesMenu();
}

void MainWindow::showHistory() {
  const EditHistory& history = application_.history();
  // Qt shows "[*]" as "*" while the window is modified, and not at all otherwise.
  setWindowTitle(qt(orvane::windowTitle(titlePath_, true)));
  setWindowModified(history.isModified());
  recoveryKeeper_->historyChanged();
  auto label = [](const QString& text, const std::string& step) {
    return step.empty() ? text : QStringLiteral("%1: %2").arg(text, qt(step));
  };
  QAction* undo = action(Command::Undo);
  QAction* redo = action(Command::Redo);
  undo->setText(label(QStringLiteral("元に戻す(&U)"), history.undoName()) + "\tCtrl+Z");
  redo->setText(label(QStringLiteral("やり直し(&R)"), history.redoName()) + "\tCtrl+Y");
  undo->setEnabled(history.canUndo());
  redo->setEnabled(history.canRedo());
}

void MainWindow::showViewerMode(bool on, bool changed) {
  outer_->setPaneShown(1, !on);
  inner_->setPaneShown(2, !on);
  if (changed) {
    const int panes = inner_->size() + inner_->border() + outer_->size() + outer_->border();
    resize(width() + (on ? -panes : panes), height());
  }
  if (on) setFocus(Qt::OtherFocusReason);
  drawingPane()->setViewerMode(on);
}

void MainWindow::toggleAlwaysOnTop() {
  const bool on = !windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  const QRect placement = geometry();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);  // hides the window; show it again in place
  setGeometry(placement);
  show();
  action(Command::AlwaysOnTop)->setChecked(on);
}

void MainWindow::showVersion() {
  dialogs_.tell(this, QStringLiteral("%1\n%2").arg(programTitle(),
                                                   QStringLiteral("バージョン%1").arg(kVersion)));
}

void MainWindow::showPointer(int x, int y) {
  QString text = QStringLiteral("x %1, y %2").arg(x).arg(y);
  if (const auto corners = selectionCorners(application_.currentSelection())) {
    text += QStringLiteral("    lt %1  lb %2  rt %3  rb %4")
                .arg(pointText(corners->lt), pointText(corners->lb), pointText(corners->rt),
                     pointText(corners->rb));
  }
  pointerLabel_->setText(text);
}

void MainWindow::storePlacement() {
  const QRect outer = frameGeometry();
  settings_.windowX = outer.x();
  settings_.windowY = outer.y();
  settings_.windowWidth = outer.width();
  settings_.windowHeight = outer.height();
  settings_.windowTopMost = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  settings_.layerPaneSize = outer_->size();
  settings_.layerPaneBorder = outer_->border();
  settings_.detailsPaneSize = inner_->size();
  settings_.detailsPaneBorder = inner_->border();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!files_.confirmDiscard()) {
    event->ignore();
    return;
  }
  storePlacement();
  event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (settings_.viewerMode && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
    files_.browse(event->key() == Qt::Key_Left ? BrowseDirection::Previous : BrowseDirection::Next);
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  // Only the first dropped file is taken.
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  files_.openEmblemFile(urls.first().toLocalFile(), FileCommands::Source::Dropped);
}

}  // namespace orvane
