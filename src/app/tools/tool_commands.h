#pragma once

namespace orvane {

class Application;
class FileDialogs;
class MainWindow;

// Connects the Tools menu's three commands to their dialogs.
void connectToolCommands(MainWindow& window, Application& application, FileDialogs& dialogs);

// The commands themselves. The two generators add their group as one undo step and then make the
// emblem untitled (FileCommands::toolResultSteps); the batch conversion ends with its message.
void runBlockArtTool(MainWindow& window, Application& application, FileDialogs& dialogs);
void runRandomArtTool(MainWindow& window, Application& application, FileDialogs& dialogs);
void runBatchConversionTool(MainWindow& window, Application& application, FileDialogs& dialogs);

}  // namespace orvane
