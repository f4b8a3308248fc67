#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "app/shell/random_art_run.h"

class QAction;
class QComboBox;
class QGridLayout;
class QLabel;
class QMenu;
class QMenuBar;
class QRadioButton;
class QTimer;

namespace orvane {

class FileDialogs;
class ParameterSliders;
class PictureBox;
class SizeChoice;

// The modal dialog "ランダムアート作成": the target, best and simulation pictures, the output
// size, the picture to analyse, the parts to use, six counters, the 25 parameter sliders, and the
// menu with the DNA files, the simulation's start and pause, the mode (the evolution or the
// shape fitting, chosen before the first start) and the tutorial. It runs the worker
// on `state` and shows what the worker publishes about 20 times a second; the worker never waits
// for the dialog. The dialog ends with Accepted on "決定" or a perfect match, with Rejected on
// Escape, the close box or a failed measurement; the worker has ended when it returns.
class RandomArtDialog : public QDialog {
  Q_OBJECT
 public:
  // The menu's command numbers; each action is named "command<number>".
  enum Command {
    NewDna = 40011,
    ImportDna = 40091,
    ExportDna = 40092,
    AutoExport = 40093,
    Start = 40094,
    Pause = 40095,
    ShowProcessing = 40096,
    TutorialSize = 40099,
    TutorialLoad = 40100,
    TutorialStart = 40101,
    TutorialParameters = 40102,
    TutorialAccept = 40103,
    EvolveMode = 40104,
    FitMode = 40105,
  };

  // The state, atlas, generator and dialogs must outlive the dialog.
  RandomArtDialog(RandomArtState& state, const PartsAtlasBuffer& atlas, RandomGenerator& random,
                  FileDialogs& dialogs, QWidget* parent = nullptr);
  ~RandomArtDialog() override;

  // The commands, as the menu and the buttons run them.
  void startSimulation();
  void pauseSimulation();
  void loadPicture();
  void importDna();
  void exportDna();
  // Chooses how the worker builds the best genome; nothing once the worker has been started.
  void chooseMode(RandomArtMode mode);
  // Shows what the worker published since the last look; the dialog's timer calls it.
  void showLatest();

  QAction* action(Command command) const { return actions_.at(command); }
  RandomArtRun& run() { return run_; }
  ParameterSliders* sliders() const { return sliders_; }
  SizeChoice* sizeChoice() const { return size_; }
  PictureBox* targetBox() const { return targetBox_; }
  PictureBox* bestBox() const { return bestBox_; }
  PictureBox* simulationBox() const { return simulationBox_; }

  // The zoom the picture boxes get on a screen whose free height is `height` pixels.
  static int pictureZoomFor(int height);

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QMenuBar* buildMenu();
  QWidget* buildPictures(int zoom);
  QWidget* buildControls();
  void addCounter(QGridLayout* grid, const QString& label, QLabel*& value, const QString& initial,
                  const char* name);
  QAction* addCommand(QMenu* menu, Command command, const QString& text);
  void choosePartMode(bool fixed);
  // Marks the chosen mode and enables the controls that act in it.
  void showMode();
  // Shows the state after an import: sliders, size, menu marks and the two pictures.
  void showImportedState();
  void warn(const QString& text);

  RandomArtState& state_;
  const PartsAtlasBuffer& atlas_;
  FileDialogs& dialogs_;
  RandomArtRun run_;
  bool workerReady_ = false;
  bool initialisationReported_ = false;
  std::map<Command, QAction*> actions_;
  PictureBox* targetBox_ = nullptr;
  PictureBox* bestBox_ = nullptr;
  PictureBox* simulationBox_ = nullptr;
  SizeChoice* size_ = nullptr;
  QWidget* parts_ = nullptr;
  QRadioButton* randomParts_ = nullptr;
  QRadioButton* fixedPart_ = nullptr;
  QComboBox* partList_ = nullptr;
  ParameterSliders* sliders_ = nullptr;
  QLabel* fitRatio_ = nullptr;
  QLabel* relativeFitRatio_ = nullptr;
  QLabel* geneCount_ = nullptr;
  QLabel* bestUpdates_ = nullptr;
  QLabel* simulations_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QTimer* refresh_ = nullptr;
  // The part range "ランダム" goes back to after "固定" narrowed it to one part.
  std::int32_t randomPartMin_ = 0;
  std::int32_t randomPartMax_ = 730;
};

}  // namespace orvane
