#include "app/editor_session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/shell/command_line.h"
#include "app/shell/display_check.h"
#include "app/shell/screen_fit.h"
#include "core_version.h"
#include "panes/drawing/drawing_pane.h"

namespace orvane {
namespace fs = std::filesystem;

EditorSession::EditorSession(const fs::path& programFolder, const ConfigEnvironment& environment,
                             const fs::path& workingFolder,
                             const std::optional<fs::path>& recoveryFolder)
    : settingsPath_(settingsPathFor(programFolder, environment)) {
  if (recoveryFolder) recovery_ = std::make_unique<RecoveryStore>(*recoveryFolder);
  settings_.currentDirectory = workingFolder.string();
  if (settingsPath_) loadSettingsFile(*settingsPath_, settings_);
}

bool EditorSession::saveSettings() const {
  return settingsPath_ && saveSettingsFile(*settingsPath_, settings_);
}

void placeWindow(MainWindow& window, const Settings& settings) {
  std::vector<ScreenRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    ScreenRect rect{area.x(), area.y(), area.width(), area.height()};
    // The primary screen goes first.
    if (screen == QGuiApplication::primaryScreen()) {
      screens.insert(screens.begin(), rect);
    } else {
      screens.push_back(rect);
    }
  }
  const ScreenRect fitted = fitWindowOnScreens(
      {settings.windowX, settings.windowY, settings.windowWidth, settings.windowHeight}, screens);
  window.resize(fitted.width, fitted.height);
  if (fitted.x != kDefaultWindowPosition && fitted.y != kDefaultWindowPosition) {
    window.move(fitted.x, fitted.y);
  }
  // The saved size is the outer one; once the window has a frame, take the frame off.
  QTimer::singleShot(0, &window, [&window, fitted] {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    if (!frame.isEmpty())
      window.resize(fitted.width - frame.width(), fitted.height - frame.height());
  });
}

namespace {

struct Options {
  std::vector<std::string> files;
  QString screenshot;          // write a picture of the window here and end
  bool startupReport = false;  // print the clock and memory at the first picture and end
  int exitStatus = -1;         // set when the options alone end the program
};

Options readOptions(int argc, char** argv, const fs::path& settingsFile) {
  QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("orvane-editor"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  QCommandLineParser parser;
  // The manual page is made from this text, so it leaves out the one line about this copy.
  QString description = QStringLiteral(
      "Orvane emblem editor: draws and edits emblems, opens and saves .ovml and .ovr files.\n\n"
      "Settings are kept in OrvaneEditor.ini beside the program when its folder is writable and\n"
      "not a system folder (a portable copy), otherwise in $XDG_CONFIG_HOME/orvane/\n"
      "(default ~/.config/orvane/). Copies of unsaved edits are kept in\n"
      "$XDG_STATE_HOME/orvane/recovery/ (default ~/.local/state/orvane/recovery/).");
  if (!std::getenv("ORVANE_MANUAL_PAGE")) {
    description += QStringLiteral("\nThis copy keeps its settings in %1.")
                       .arg(QString::fromStdString(settingsFile.string()));
  }
  parser.setApplicationDescription(description);
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption screenshot(
      QStringLiteral("screenshot"),
      QStringLiteral("Show the window, write a PNG picture of it to PICTURE and end (works "
                     "without a display with QT_QPA_PLATFORM=offscreen)."),
      QStringLiteral("PICTURE"));
  parser.addOption(screenshot);
  const QCommandLineOption startupReport(
      QStringLiteral("startup-report"),
      QStringLiteral("Once the window shows its first picture, print the wall clock "
                     "(\"first-paint-ns N\") and the resident memory (\"rss-kb N\") and end; "
                     "scripts/startup_time.sh uses it."));
  parser.addOption(startupReport);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("An emblem file (.ovml or .ovr) to open."),
                               QStringLiteral("[FILE]"));
  Options options;
  if (!parser.parse(core.arguments())) {
    std::fprintf(stderr, "orvane-editor: %s\n", qPrintable(parser.errorText()));
    options.exitStatus = 2;
    return options;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    options.exitStatus = 0;
    return options;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("orvane-editor %s\n", kVersion);
    options.exitStatus = 0;
    return options;
  }
  options.screenshot = parser.value(screenshot);
  options.startupReport = parser.isSet(startupReport);
  for (const QString& file : parser.positionalArguments()) {
    options.files.push_back(file.toStdString());
  }
  return options;
}

// Resident memory of this process in kB, from the kernel's status file.
long residentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

// Waits for the drawing pane's first paint, then prints when that was and how much memory the
// editor holds, and ends the program.
void reportStartup(MainWindow& window) {
  struct FirstPaint : QObject {
    MainWindow& window;
    explicit FirstPaint(MainWindow& w) : QObject(&w), window(w) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) {
        window.drawingPane()->removeEventFilter(this);
        // Report once this paint is done and the events it queued are handled.
        QTimer::singleShot(0, &window, [this] {
          timespec now{};
          clock_gettime(CLOCK_REALTIME, &now);
          std::printf("first-paint-ns %lld\nrss-kb %ld\n",
                      static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                      residentKilobytes());
          std::fflush(stdout);
          window.close();
        });
      }
      return false;
    }
  };
  window.drawingPane()->installEventFilter(new FirstPaint(window));
}

fs::path programFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error) : self.parent_path();
}

}  // namespace

int runEditor(int argc, char** argv) {
  const ConfigEnvironment environment = configEnvironmentOfProcess();
  std::error_code error;
  const fs::path working = fs::current_path(error);
  const fs::path folder = programFolder();
  const Options options = readOptions(
      argc, argv, settingsPathFor(folder, environment).value_or(fs::path(kSettingsFileName)));
  if (options.exitStatus >= 0) return options.exitStatus;
  if (const auto reason = missingDisplayReason(
          displayEnvironmentOfProcess(),
          [](const std::string& path) { return fs::exists(fs::path(path)); })) {
    std::fprintf(stderr, "orvane-editor: %s\n", reason->c_str());
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvane-editor"));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  // The installed menu entry and icon carry this id.
  QGuiApplication::setDesktopFileName(QStringLiteral("dev.orvane.Editor"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("dev.orvane.Editor")));
  const char* stateHome = std::getenv("XDG_STATE_HOME");
  EditorSession session(folder, environment, working,
                        RecoveryStore::defaultFolder(stateHome ? stateHome : "", environment.home));
  QtFileDialogs dialogs;
  int status = 0;
  {
    MainWindow window(session.application(), session.settings(), dialogs, session.recovery());
    placeWindow(window, session.settings());
    const bool restored =
        session.recovery() &&
        offerRecoveredEdits(*session.recovery(), window.files(), dialogs, &window);
    const auto file = restored ? std::nullopt : fileToOpenAtStart(options.files, working);
    if (file) {
      window.files().openEmblemFile(QString::fromStdString(file->string()),
                                    FileCommands::Source::CommandLine);
    }
    // Logging out of the desktop asks about unsaved edits like closing the window does.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager& manager) {
                       if (manager.allowsInteraction()) {
                         const bool goOn = window.files().confirmDiscard();
                         manager.release();
                         if (!goOn) manager.cancel();
                       }
                     });
    window.show();
    if (!options.screenshot.isEmpty()) {
      // Once the window has been laid out and painted, picture it and end.
      QTimer::singleShot(300, &window, [&] {
        if (!window.grab().save(options.screenshot, "PNG")) {
          std::fprintf(stderr, "orvane-editor: %s: cannot write the picture\n",
                       qPrintable(options.screenshot));
          status = 1;
        }
        window.close();
      });
    }
    if (options.startupReport) reportStartup(window);
    const int loop = app.exec();
    if (status == 0) status = loop;
  }
  session.saveSettings();
  return status;
}

}  // namespace orvane
